#pragma once

#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "app/transfer/transfer_ports.h"
#include "core/clone/clone_session.h"
#include "core/image/radio_document.h"
#include "stress/document_checks.h"
#include "stress/rng.h"
#include "stress/stress_prompter.h"

class QWidget;

namespace norvik {
class frmMain;
}

namespace norvik::stress {

struct StressOptions {
    std::uint64_t seed = 1;
    int steps = 300;
    bool trace = false; // print every step as it is taken
    // Told the number of each step as it starts (so a crash can still say where it was).
    std::function<void(int)> stepStarted;
};

/*
 * Drives the main window as a user would, at random: keys to whatever has the focus, clicks on
 * the grid's cells, menu commands through their actions, the tool buttons and the button
 * column, the single-channel panel, every dialog the window opens, transfers with the simulated
 * radio; every question is answered at random through the prompter. After each step the
 * document, the grid, the panel and the title are checked; the first fault ends the run with
 * the seed and the step that replay it.
 *
 * Dialogs shown window-modal are worked by the following steps. One shown by exec() holds the
 * step that opened it inside its own event loop, so a timer armed before each step takes over
 * there and runs the next steps until the dialog is gone.
 */
class StressDriver {
public:
    explicit StressDriver(const StressOptions& options);
    ~StressDriver();

    // 0 when every step ran clean.
    int run();

private:
    struct Summary {
        int prompts = 0;
        int dialogs = 0;
        int transfers = 0;
        int transfersCompleted = 0;
        int undoWalks = 0;
        int undoWalksToBaseline = 0;
        int closeChecks = 0;
        int saves = 0;
    };

    void setUpFiles();
    void loadStartImage();

    // One step: an action on whatever the user can reach now, then the checks.
    void step();
    void perform(const QString& what, const std::function<void()>& action);
    void armNested(std::shared_ptr<bool> running);
    void driveNested(QWidget* modal);
    void settle();
    void verify();
    [[noreturn]] void fail(const QString& what);

    // What a step does, by what is in front of the user.
    void onMainWindow();
    void onPanel(QWidget* panel);
    void onDialog(QWidget* dialog);
    void onPopup(QWidget* popup);

    void pressKeys(QWidget* target, int count);
    void pressKey(QWidget* target);
    void typeText(QWidget* target, const QString& text);
    QString randomText(const QString& alphabet, int maxLength);
    QString frequencyText();
    void clickCell(int channel, int column, bool twice);
    void typeIntoCell();
    void command();
    void runAction(const char* name);
    void selectChannels();
    void setOnSelection();
    void putSpreadsheetText();
    void pokeWidget(QWidget* w);
    void pokeItemView(QWidget* view);
    void undoAllTheWay();
    void closeCheck();
    void waitForTransfer();
    void waitForServiceLink();
    void prepareSimulator();
    void noteSaves(const std::map<std::filesystem::path, std::filesystem::file_time_type>& before);
    std::map<std::filesystem::path, std::filesystem::file_time_type> fileTimes() const;
    QWidget* keyTarget(QWidget* top) const;
    // Every other stretch of 1,500 steps makes no new image, so the history outgrows its limit.
    bool quietPhase() const { return (m_step / 1500) % 2 == 1; }

    StressOptions m_options;
    Rng m_rng;
    QTemporaryDir m_dir;
    QString m_files;
    std::unique_ptr<QSettings> m_settings;
    RadioDocument m_doc;
    std::unique_ptr<StressPrompter> m_prompter;
    std::unique_ptr<TransferPorts> m_ports;
    std::unique_ptr<DocumentChecks> m_checks;
    std::unique_ptr<frmMain> m_window;

    int m_step = 0;
    int m_depth = 0; // dialogs held in exec() around this step
    QString m_action;
    QWidget* m_lastDialog = nullptr;
    int m_dialogAge = 0;
    std::optional<CloneOutcome> m_transferOutcome;
    RadioImage m_heldImage; // as it was when the current stretch of held steps began
    Summary m_summary;
    std::chrono::steady_clock::time_point m_start;
};

} // namespace norvik::stress
