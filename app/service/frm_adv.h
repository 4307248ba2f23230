#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <array>
#include <memory>

#include "core/clone/clone_session.h"
#include "core/image/radio_document.h"
#include "core/strings/strings.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;

namespace norvik {

class ByteLink;
class CloneRunner;
class FreqSetPage;
class GainSettingsPage;
class Prompter;
class TransferPorts;
struct PortOutcome;
class TuningPages;

// The service window: band limits, gains and the tuning grids, each page group loaded from the
// document when the window opens and applied to it as one undoable step; and the live link that
// reads or writes rows 240..255 only, through the port chosen for transfers.
class frmAdv : public QDialog {
    Q_OBJECT
public:
    // The three page groups, each loaded and applied as a whole.
    enum class Group { BandLimits, Gains, Tuning };
    static constexpr int kGroupCount = 3;
    enum Button { Read, Write, Close, Apply };

    frmAdv(RadioDocument& document, Prompter& prompter, TransferPorts& ports, Language lang, QWidget* parent = nullptr);
    ~frmAdv() override;

    // A group whose pages hold edits not yet applied.
    bool groupChanged(Group group) const { return m_changed[static_cast<std::size_t>(group)]; }
    bool pageChanged() const;
    Group groupInView() const;
    bool linkRunning() const;
    const CloneRunner* runner() const { return m_runner.get(); }
    // Whether a link write reads the service rows back (Setup › Verify after Write; on unless turned off).
    void setVerifyAfterWrite(bool on) { m_verifyAfterWrite = on; }
    bool verifyAfterWrite() const { return m_verifyAfterWrite; }

signals:
    void linkFinished(norvik::CloneOutcome outcome);

public slots:
    void CmdAdv_Click(int index);

protected:
    // While the link runs, Esc and the window's close button stop the link instead.
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildTree();
    void TreeAdv_NodeClick(QTreeWidgetItem* node);
    void showPage(Group group, int band = 0);
    void captionBands();

    void runPageCheck();
    void commitEditors();
    void loadGroup(Group group);
    void loadAllPages();
    void applyGroups(std::initializer_list<Group> groups, int labelId);
    void markChanged(Group group) { m_changed[static_cast<std::size_t>(group)] = true; }
    void documentChanged(const DocumentChange& change);

    void startLink(CloneMode mode);
    void showLinkRunning(bool running);
    void onLinkQuestion(CloneQuestion question, const QString& text);
    void onLinkDone(CloneOutcome outcome);
    void reportWrite();
    void recordLink(const PortOutcome& outcome);

    RadioDocument& m_document;
    Prompter& m_prompter;
    TransferPorts& m_ports;
    Language m_language;
    std::array<bool, kGroupCount> m_changed{};
    RadioDocument::Subscription m_subscription;
    bool m_switching = false;

    std::unique_ptr<ByteLink> m_link;
    std::unique_ptr<CloneRunner> m_runner;
    CloneMode m_linkMode = CloneMode::Read;
    bool m_verifyAfterWrite = true;
    QElapsedTimer m_linkClock;
    RadioImage m_linkSent;
    QString m_linkError;

    QTreeWidget* TreeAdv;
    QSplitter* ImgSplit;
    QWidget* PicSet;
    FreqSetPage* fraFreq;
    GainSettingsPage* fraAnalogue;
    TuningPages* PicDev;
    std::array<QPushButton*, 4> CmdAdv{};
    QLabel* Label2;
    QProgressBar* prgLink;
    QPushButton* CmdLinkCancel;
};

} // namespace norvik
