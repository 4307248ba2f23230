#pragma once

#include <QHash>
#include <QWidget>
#include <functional>
#include <string_view>

#include "core/image/radio_image.h"

class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;

namespace norvik {

class OptionLineEdit;
class UpDown;

/*
 * One page of the Optional Features window: the frame FraOp(index). A page fills its fields from
 * the image in load() and writes them back in save(); the window runs every page's save inside
 * one document change and every load on Reset, so a page never holds the document for writing
 * and keeps nothing of the image beyond its fields. A plain OptionPage is an empty page.
 */
class OptionPage : public QWidget {
    Q_OBJECT
public:
    explicit OptionPage(int index, QWidget* parent = nullptr);

    int index() const { return m_index; }
    virtual void load(const RadioImage& image);
    virtual void save(RadioImage& image);

signals:
    // Enter in a field whose rule ends the page's chain at the Save button.
    void saveFocusRequested();

protected:
    // What Enter does in a field: focus a named field, act as Tab, go to Save, or nothing.
    enum class Enter { Next, Tab, Save, Nothing };
    void onEnter(QWidget* field, Enter action, QWidget* next = nullptr);
    // The Enter rule "each field moves to the one after it", the last one acting as Tab.
    void chainEnter(std::initializer_list<QWidget*> fields);

    // Tab follows this order (layouts reparent fields, which would otherwise reorder the chain).
    static void tabOrder(std::initializer_list<QWidget*> fields);

    bool eventFilter(QObject* watched, QEvent* event) override;

    // A named control: its objectName and, for a control array, its index property.
    template <class T> T* named(T* control, const char* name, int arrayIndex = -1) {
        control->setObjectName(QString::fromLatin1(name));
        if (arrayIndex >= 0)
            control->setProperty("index", arrayIndex);
        return control;
    }
    // Makes a field as wide as `characters` and the caret.
    static void fitToText(QLineEdit* field, int characters);
    // A field fitted to `characters`, its up-down control right against it.
    static QHBoxLayout* besideUpDown(QLineEdit* field, UpDown* upDown, int characters);
    // The up-down control takes the value of each text the field validates (valueOf); its buttons
    // validate the field first, then show the stepped value in it (textOf).
    static void pairUpDown(OptionLineEdit* field, UpDown* upDown, std::function<int(std::string_view)> valueOf,
                           std::function<QString(int)> textOf);
    // A drop-down list filled with `entries`.
    QComboBox* list(const char* name, const std::vector<std::string>& entries, int arrayIndex = -1);

private:
    struct EnterRule {
        Enter action;
        QWidget* next;
    };
    int m_index;
    QHash<QObject*, EnterRule> m_enter;
};

} // namespace norvik
