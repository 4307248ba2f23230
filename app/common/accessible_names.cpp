#include "app/common/accessible_names.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QBoxLayout>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTableView>
#include <QWidget>

#include "app/common/texts.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

// Names this file gave, as opposed to a window's own.
constexpr const char* kFromLabel = "accessibleNameFromLabel";
constexpr const char* kSteps = "accessibleSteps";         // the field an arrow button steps
constexpr const char* kIncreases = "accessibleIncreases"; // up (true) or down

void giveName(QWidget* w, const QString& name) {
    if (name.isEmpty() || (!w->accessibleName().isEmpty() && !w->property(kFromLabel).toBool()))
        return;
    w->setAccessibleName(name);
    w->setProperty(kFromLabel, true);
}

// A control a label can name: one that takes input and is not a label or a button of its own.
bool takesInput(const QWidget* w) {
    return w && (w->focusPolicy() & Qt::TabFocus) && !qobject_cast<const QAbstractButton*>(w) &&
           !qobject_cast<const QLabel*>(w);
}

// The first control a layout item holds: the widget, or the first one of a nested layout.
QWidget* firstWidget(QLayoutItem* item) {
    if (!item)
        return nullptr;
    if (QWidget* w = item->widget())
        return w;
    if (QLayout* inner = item->layout()) {
        for (int i = 0; i < inner->count(); ++i) {
            if (QWidget* w = firstWidget(inner->itemAt(i)))
                return w;
        }
    }
    return nullptr;
}

// The layout that holds `w` itself, searched from `layout` down.
QLayout* holderOf(QLayout* layout, QWidget* w) {
    if (!layout)
        return nullptr;
    if (layout->indexOf(w) >= 0)
        return layout;
    for (int i = 0; i < layout->count(); ++i) {
        if (QLayout* found = holderOf(layout->itemAt(i)->layout(), w))
            return found;
    }
    return nullptr;
}

// The control a label without a buddy stands for: the one beside it, after it in its row.
QWidget* controlBeside(QLabel* label) {
    QWidget* parent = label->parentWidget();
    QLayout* layout = parent ? holderOf(parent->layout(), label) : nullptr;
    if (!layout)
        return nullptr;
    const int at = layout->indexOf(label);
    if (auto* form = qobject_cast<QFormLayout*>(layout)) {
        int row = -1;
        QFormLayout::ItemRole role{};
        form->getItemPosition(at, &row, &role);
        return role == QFormLayout::LabelRole ? firstWidget(form->itemAt(row, QFormLayout::FieldRole)) : nullptr;
    }
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        // Beside it, or under it when it heads a column.
        int row = 0, column = 0, rows = 0, columns = 0;
        grid->getItemPosition(at, &row, &column, &rows, &columns);
        QWidget* beside = firstWidget(grid->itemAtPosition(row, column + columns));
        return takesInput(beside) ? beside : firstWidget(grid->itemAtPosition(row + rows, column));
    }
    if (qobject_cast<QBoxLayout*>(layout))
        return firstWidget(layout->itemAt(at + 1));
    return nullptr;
}

} // namespace

QString nameFromCaption(QString caption) {
    static const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)|&(?!&)"));
    caption.remove(mnemonic);
    caption = caption.trimmed();
    while (caption.endsWith(QLatin1Char(':')) || caption.endsWith(QChar(0xFF1A)))
        caption.chop(1);
    return caption.trimmed();
}

void setSteppedField(QWidget* arrowButton, QWidget* field, bool increases) {
    arrowButton->setProperty(kSteps, QVariant::fromValue(QPointer<QWidget>(field)));
    arrowButton->setProperty(kIncreases, increases);
}

void nameControlsFromLabels(QWidget* root, Language lang) {
    for (QLabel* label : root->findChildren<QLabel*>()) {
        QWidget* control = label->buddy() ? label->buddy() : controlBeside(label);
        if (takesInput(control))
            giveName(control, nameFromCaption(label->text()));
    }
    // A table or text without a label is named by its frame's title, or by its window's when it is
    // the window's only one; so is a lone unlabelled text field.
    QHash<QWidget*, QList<QWidget*>> unnamed;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        // A grid's hidden cell editor is not a control of its own.
        if (!takesInput(w) || w->isHidden() || !w->accessibleName().isEmpty() || w->property(kFromLabel).toBool())
            continue;
        if (!qobject_cast<QAbstractScrollArea*>(w) && !qobject_cast<QLineEdit*>(w))
            continue;
        QWidget* holder = w->parentWidget();
        const auto titled = [](QWidget* h) {
            auto* box = qobject_cast<QGroupBox*>(h);
            return box && !box->title().isEmpty();
        };
        while (holder && !holder->isWindow() && !titled(holder))
            holder = holder->parentWidget();
        if (holder)
            unnamed[holder].append(w);
    }
    for (auto it = unnamed.cbegin(); it != unnamed.cend(); ++it) {
        if (it.value().size() != 1)
            continue;
        auto* box = qobject_cast<QGroupBox*>(it.key());
        giveName(it.value().first(), nameFromCaption(box ? box->title() : it.key()->windowTitle()));
    }
    // A table's corner button selects every cell.
    for (QTableView* table : root->findChildren<QTableView*>()) {
        for (QAbstractButton* corner : table->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
            giveName(corner, nameFromCaption(qtext(ids::SelectAll, lang)));
    }
    // A toolbar too long for its window shows the rest behind its overflow arrow.
    for (QAbstractButton* more : root->findChildren<QAbstractButton*>(QStringLiteral("qt_toolbar_ext_button")))
        giveName(more, qtext(ids::HeaderMore, lang));
    // After the fields, whose names the arrow buttons take.
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        const auto field = button->property(kSteps).value<QPointer<QWidget>>();
        if (!field || field->accessibleName().isEmpty())
            continue;
        const int id = button->property(kIncreases).toBool() ? ids::AccessibleIncrease : ids::AccessibleDecrease;
        giveName(button, qtext(id, lang).arg(field->accessibleName()));
    }
}

} // namespace norvik
