#include "app/options/option_page.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QToolButton>

#include "app/common/accessible_names.h"
#include "app/options/option_line_edit.h"
#include "app/options/up_down.h"

namespace norvik {

OptionPage::OptionPage(int index, QWidget* parent) : QWidget(parent), m_index(index) {
    setObjectName(QStringLiteral("FraOp"));
    setProperty("index", index);
}

void OptionPage::load(const RadioImage&) {}

void OptionPage::save(RadioImage&) {}

QComboBox* OptionPage::list(const char* name, const std::vector<std::string>& entries, int arrayIndex) {
    auto* combo = named(new QComboBox(this), name, arrayIndex);
    for (const std::string& e : entries)
        combo->addItem(QString::fromStdString(e));
    return combo;
}

void OptionPage::fitToText(QLineEdit* field, int characters) {
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QString(characters + 1, QLatin1Char('0'))) +
                         field->fontMetrics().height());
}

QHBoxLayout* OptionPage::besideUpDown(QLineEdit* field, UpDown* upDown, int characters) {
    fitToText(field, characters);
    auto* pair = new QHBoxLayout;
    pair->setSpacing(0);
    pair->addWidget(field);
    pair->addWidget(upDown);
    setSteppedField(upDown->upButton(), field, true);
    setSteppedField(upDown->downButton(), field, false);
    return pair;
}

void OptionPage::pairUpDown(OptionLineEdit* field, UpDown* upDown, std::function<int(std::string_view)> valueOf,
                            std::function<QString(int)> textOf) {
    connect(field, &OptionLineEdit::committed, upDown,
            [field, upDown, valueOf = std::move(valueOf)] { upDown->setValue(valueOf(field->text().toStdString())); });
    connect(upDown, &UpDown::aboutToStep, field, &OptionLineEdit::commit);
    connect(upDown, &UpDown::valueChanged, field,
            [field, textOf = std::move(textOf)](int v) { field->setText(textOf(v)); });
}

void OptionPage::onEnter(QWidget* field, Enter action, QWidget* next) {
    m_enter.insert(field, {action, next});
    field->installEventFilter(this);
}

void OptionPage::chainEnter(std::initializer_list<QWidget*> fields) {
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        const auto next = std::next(it);
        if (next == fields.end())
            onEnter(*it, Enter::Tab);
        else
            onEnter(*it, Enter::Next, *next);
    }
}

void OptionPage::tabOrder(std::initializer_list<QWidget*> fields) {
    for (auto it = fields.begin(); std::next(it) != fields.end(); ++it)
        setTabOrder(*it, *std::next(it));
}

bool OptionPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const auto rule = m_enter.constFind(watched);
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || rule == m_enter.cend())
        return QWidget::eventFilter(watched, event);
    if (auto* field = qobject_cast<OptionLineEdit*>(watched))
        field->commit();
    switch (rule->action) {
    case Enter::Next:
        rule->next->setFocus(Qt::TabFocusReason);
        break;
    case Enter::Tab:
        focusNextChild();
        break;
    case Enter::Save:
        emit saveFocusRequested();
        break;
    case Enter::Nothing:
        break;
    }
    return true;
}

} // namespace norvik
