#include "app/common/cell_editor.h"

#include <QAbstractItemView>
#include <QKeyEvent>

namespace norvik {

CellEditor::CellEditor(QAbstractItemView* view, const QString& objectName, FilteredLineEdit::KeyRule rule)
    : QObject(view), m_view(view), m_box(new FilteredLineEdit(view->viewport())) {
    m_box->setObjectName(objectName);
    m_box->setAlignment(Qt::AlignCenter);
    m_box->setKeyRule(std::move(rule));
    m_box->hide();
    m_box->installEventFilter(this);
}

void CellEditor::open(const QRect& cell, const QString& text, bool typed) {
    m_box->setGeometry(cell);
    m_box->setText(text);
    m_open = true;
    m_box->show();
    m_box->setFocus(Qt::OtherFocusReason);
    if (typed)
        m_box->end(false);
    else
        m_box->selectAll();
}

QString CellEditor::close() {
    m_open = false;
    if (m_box->hasFocus())
        m_view->setFocus(Qt::OtherFocusReason);
    m_box->hide();
    return m_box->text();
}

bool CellEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_box || !m_open)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* e = static_cast<QKeyEvent*>(event);
        if (isEnterKey(e->key()))
            emit enterPressed();
        else if (e->key() == Qt::Key_Escape)
            emit escapePressed();
        else
            break;
        return true;
    }
    case QEvent::FocusOut: {
        // A switch to another window is not leaving the cell.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            emit left();
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace norvik
