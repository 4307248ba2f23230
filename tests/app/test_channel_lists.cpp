// The File menu's channel list commands: import with its preview, export, print and PDF.

#include <QLabel>
#include <QListWidget>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QStandardPaths>
#include <QTableWidget>
#include <QtTest>

#include "app/channel_list/frm_csv_import.h"
#include "core/channels/channel_csv.h"
#include "core/helpers.h"
#include "support/modal_runner.h"
#include "support/window_fixture.h"

using namespace norvik;
using Fixture = test::WindowFixture;

namespace {

QByteArray readFile(const QString& path) {
    const test::Bytes bytes = test::readFile(path.toStdString());
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

} // namespace

class ChannelListsTest : public QObject {
    Q_OBJECT
private slots:
    void importShowsThePreviewAppliesAsOneStepAndUndoes() {
        Fixture f;
        f.useChannel(1, 14500000, 14560000);
        f.start();
        const QByteArray before = f.record(1);
        const std::string plan = "CH,RX Freq,CH.Name\n1,146.5,FIRST\n2,147.0021,\n3,999,BAD\n";
        QVERIFY(test::writeFile(f.path("plan.csv").toStdString(), test::Bytes(plan.begin(), plan.end())));
        f.prompter.openNames << f.path("plan.csv");

        test::runModal<frmCsvImport>(
            f.window.get(), [&] { f.action("mnuFile_ImportCsv")->trigger(); },
            [](frmCsvImport* preview) {
                auto* refused = preview->findChild<QListWidget*>(QStringLiteral("lstRefused"));
                QCOMPARE(refused->count(), 2);
                QCOMPARE(refused->item(0)->text(),
                         QStringLiteral("Line 3: RX Freq 147.0021 → 147.00000, rounded to the channel raster."));
                QVERIFY2(refused->item(1)->text().startsWith(QStringLiteral("Line 4: RX Freq 999")),
                         qPrintable(refused->item(1)->text()));
                auto* changes = preview->findChild<QTableWidget*>(QStringLiteral("grdChanges"));
                QCOMPARE(changes->rowCount(), 4);
                // Channel 2 after the import, in the RX Freq column.
                QCOMPARE(changes->item(3, col::Rx + 1)->text(), QStringLiteral("147.0021 → 147.00000"));
                test::clickButton(preview, "CmdApply");
            });
        QTRY_COMPARE(f.shown(1, col::Name), QStringLiteral("FIRST"));
        QVERIFY(!f.shown(2, col::Rx).isEmpty());
        QVERIFY(f.shown(3, col::Rx).isEmpty());
        QCOMPARE(f.doc.undoCount(), 1U);

        // The offscreen platform hands activation back to no window when a dialog closes.
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QTRY_VERIFY(f.grid()->hasFocus());
        QTest::keyClick(f.grid(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.record(1), before);
        QCOMPARE(f.shown(1, col::Name), QStringLiteral("CH1"));
        QVERIFY(f.shown(2, col::Rx).isEmpty());
    }

    // A file of bad lines lists the first of them, then says how many more; the count is all.
    void importOfManyBadLinesListsABoundedNumber() {
        RadioDocument doc;
        std::string csv = "CH,RX Freq\n";
        for (int i = 0; i < 5000; ++i)
            csv += "x\n";
        frmCsvImport preview(doc, csv, Language::English, '.');
        auto* refused = preview.findChild<QListWidget*>(QStringLiteral("lstRefused"));
        QCOMPARE(refused->count(), static_cast<int>(kMaxListedCsvProblems) + 1);
        QCOMPARE(refused->item(refused->count() - 1)->text(),
                 QStringLiteral("\u2026 and 4000 more lines that cannot be imported"));
        QCOMPARE(preview.findChild<QLabel*>(QStringLiteral("lblRefused"))->text(),
                 QStringLiteral("Lines not imported: 5000"));
    }

    void exportCsvWritesTheListFormat() {
        Fixture f;
        f.useChannel(4, 43500000);
        f.start();
        f.prompter.saveNames << f.path("out.csv");
        f.action("mnuFile_ExportCsv")->trigger();
        QCOMPARE(f.prompter.saveRequests, QStringList{QStringLiteral("Untitled.csv")});
        QCOMPARE(readFile(f.path("out.csv")), QByteArray::fromStdString(exportChannelsCsv(f.doc.image())));
    }

    void printKeyOpensThePreview() {
        Fixture f;
        f.start();
        test::runModal<QPrintPreviewDialog>(
            f.window.get(), [&] { f.window->toolButton(QStringLiteral("Print"))->trigger(); },
            [](QPrintPreviewDialog* preview) { preview->reject(); });
    }

    // The PDF holds the names of the used channels, a heading and page numbers in the language.
    void pdfHoldsTheChannelList_data() {
        QTest::addColumn<int>("lang");
        QTest::addColumn<int>("channels");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("English, one page") << 0 << 3 << QStringList{"Channel List", "Page 1 of 1", "CH1", "CH3"};
        QTest::newRow("Chinese, one page") << 1 << 2 << QStringList{"信道列表", "第 1 页，共 1 页", "CH2", "接收频率"};
        QTest::newRow("every channel") << 0 << 128 << QStringList{"Page 1 of ", "Page 2 of ", "CH128"};
    }
    void pdfHoldsTheChannelList() {
        QFETCH(int, lang);
        QFETCH(int, channels);
        QFETCH(QStringList, expected);
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        QVERIFY2(!pdftotext.isEmpty(), "pdftotext is missing: run scripts/setup.sh");
        Fixture f;
        f.window->setLanguage(languageFromIndex(lang));
        for (int n = 1; n <= channels; ++n)
            f.useChannel(n, 14500000 + static_cast<Frequency>(n) * 2500);
        f.start();
        f.prompter.saveNames << f.path("list.pdf");
        f.action("mnuFile_ExportPdf")->trigger();
        QVERIFY(readFile(f.path("list.pdf")).startsWith("%PDF"));

        QProcess text;
        text.start(pdftotext, {QStringLiteral("-layout"), f.path("list.pdf"), QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        const QString out = QString::fromUtf8(text.readAllStandardOutput());
        for (const QString& e : expected)
            QVERIFY2(out.contains(e), qPrintable(e + QStringLiteral(" not in:\n") + out));
    }
};

QTEST_MAIN(ChannelListsTest)
#include "test_channel_lists.moc"
