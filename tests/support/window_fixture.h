#pragma once

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>
#include <functional>
#include <memory>

#include "app/editor/channel_grid.h"
#include "app/editor/frm_main.h"
#include "app/transfer/transfer_ports.h"
#include "core/channels/channel_table.h"
#include "core/image/channel_record.h"
#include "core/image/radio_document.h"
#include "support/fake_ports.h"
#include "support/scripted_prompter.h"

namespace norvik::test {

// The control of `root` named `name` whose "index" property is `index` (any, when negative); a
// missing one stops the run with its name rather than a crash.
template <class T> T* indexedChild(const QWidget* root, const char* name, int index = -1) {
    for (T* w : root->findChildren<T*>(QString::fromLatin1(name)))
        if (index < 0 || w->property("index").toInt() == index)
            return w;
    qFatal("no control %s(%d)", name, index);
}
// The item of a page tree whose key (its user data) is `key`, and a click on it.
inline QTreeWidgetItem* treeNode(QTreeWidget* tree, const QString& key) {
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toString() == key)
            return *it;
    return nullptr;
}
inline void clickTreeNode(QTreeWidget* tree, const QString& key) {
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(treeNode(tree, key)).center());
}
inline void clickButton(const QWidget* root, const char* name) {
    QTest::mouseClick(root->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

// A main window over its own document, prompter, settings file and (fake) serial ports.
struct WindowFixture {
    QTemporaryDir dir;
    QSettings settings{dir.filePath(QStringLiteral("lang.ini")), QSettings::IniFormat};
    RadioDocument doc;
    ScriptedPrompter prompter;
    std::unique_ptr<TransferPorts> ports; // outlives the window, which holds it by reference
    std::unique_ptr<frmMain> window;

    WindowFixture() {
        window = std::make_unique<frmMain>(doc, prompter, &settings);
        window->setBackupFolder(backups());
        window->resize(1200, 700);
    }

    // Serial devices in place of the machine's: those in `openable` pass the probe after delayMs.
    TransferPorts& usePorts(const QStringList& devices, QSet<QString> openable = {}, int delayMs = 1) {
        ports = std::make_unique<TransferPorts>(std::make_unique<FakeEnumerator>(devices), [openable, delayMs] {
            return std::make_unique<FakeChecker>(openable, delayMs);
        });
        window->setTransferPorts(*ports);
        return *ports;
    }

    // Channel n: receive rx (10 Hz units), transmit tx (0 = none), named "CH<n>".
    void useChannel(int n, Frequency rx, Frequency tx = 0) {
        change([&](RadioImage& img) {
            encodeFrequency(img, channelAddress(n) + rec::Rx, rx);
            if (tx)
                encodeFrequency(img, channelAddress(n) + rec::Tx, tx);
            for (int i = 0; i < 4; ++i)
                img.set(channelAddress(n) + rec::Flags12 + i, kNewChannelFlags[i]);
            encodeName(img, n, "CH" + std::to_string(n));
        });
    }
    // A change through the document, as any window makes one.
    void change(const std::function<void(RadioImage&)>& fn) { doc.edit(0, fn); }

    // Loads the image as Open does (no history, nothing changed) and shows the window.
    void start() {
        doc.replace(doc.image(), 0, RadioDocument::SavedImage::Take);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // The window's backups, private to the test.
    std::filesystem::path backups() const { return std::filesystem::path(dir.path().toStdString()) / "backups"; }
    ChannelTable& table() { return window->channelTable(); }
    ChannelGrid* grid() { return window->channelGrid(); }
    QAction* action(const char* name) const { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    template <class T> T* child(const char* name) const { return window->findChild<T*>(QString::fromLatin1(name)); }
    // How many of Paste's two controls (menu item, tool button) are enabled: they must agree.
    int pasteEnabled() const {
        return int(action("mnuEdit_Paste")->isEnabled()) +
               int(window->toolButton(QStringLiteral("Paste"))->isEnabled());
    }

    QByteArray bytesAt(int address, int count) const {
        QByteArray out;
        for (int i = 0; i < count; ++i)
            out.append(static_cast<char>(doc.image().at(address + i)));
        return out;
    }
    QByteArray record(int n) const { return bytesAt(channelAddress(n), kRowSize); }
    QByteArray name(int n) const { return bytesAt(nameAddress(n), kNameLength); }
    // What the grid shows for a channel's cell (table column 1..16).
    QString shown(int n, int column) { return grid()->model()->index(n - 1, column - 1).data().toString(); }
    void focusCell(int n, int column) {
        grid()->setCurrentCell(n, column);
        grid()->setFocus();
        QTRY_VERIFY(grid()->hasFocus());
    }
    void clickCell(int n, int column) {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->cellRect(n, column).center());
    }
    // Ctrl+Shift+Alt and the right button on the toolbar: the memory map.
    void memoryMapGesture() {
        auto* tools = child<QToolBar>("tlbActions");
        QTest::mouseClick(tools, Qt::RightButton, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier,
                          QPoint(tools->width() - 3, tools->height() / 2));
    }
    // The grid's text editor.
    QLineEdit* editor() { return grid()->findChild<QLineEdit*>(QStringLiteral("txtMemChannel")); }

    // Chooses an entry of a drop-down list the way the keyboard does.
    static void choose(QComboBox* combo, const QString& text) {
        const int target = combo->findText(text);
        QVERIFY2(target >= 0, qPrintable(text));
        combo->setFocus();
        QTRY_VERIFY(combo->hasFocus());
        for (int guard = 0; combo->currentIndex() != target && guard < 300; ++guard)
            QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(combo->currentIndex(), target);
    }
    // Types into a text field as the user would: click in, select all, type, leave with Tab.
    static void typeInto(QLineEdit* field, const QString& text, Qt::Key leaveWith = Qt::Key_Tab) {
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        field->selectAll();
        QTest::keyClicks(field, text);
        if (leaveWith != Qt::Key_unknown)
            QTest::keyClick(field, leaveWith);
    }
};

} // namespace norvik::test
