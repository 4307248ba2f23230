#pragma once

#include <QDialog>
#include <array>

#include "core/image/radio_document.h"
#include "core/strings/strings.h"

class QGroupBox;
class QPushButton;
class QStackedLayout;
class QTreeWidget;
class QTreeWidgetItem;

namespace norvik {

class OptionPage;

// Optional Features: the page tree on the left, the page shown in FraOPS, and Save, Reset and
// Close acting on every page at once. It reads the image when it opens and on Reset, and writes
// it only on Save, as one change of the document.
class FrmOpSign : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPageCount = 7;
    static constexpr int kFunctionSettingPage = 5;

    FrmOpSign(RadioDocument& document, Language lang, QWidget* parent = nullptr);

    OptionPage* page(int index) const { return FraOp.at(static_cast<std::size_t>(index)); }
    // The page shown.
    int pageIndex() const { return m_pageIndex; }
    QPushButton* cmdOps(int index) const { return CmdOps.at(static_cast<std::size_t>(index)); }

    // Fills (writes) the pages of one page group, 0 to 5; other values do nothing.
    void LoadPage(int group);
    void SavePage(int group, RadioImage& image);

public slots:
    void CmdOps_Click(int index); // 0 Save, 1 Reset, 2 Close
    void TreeOPS_NodeClick(QTreeWidgetItem* node);

signals:
    // Every page was written into the image.
    void saved();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    OptionPage* makePage(int index);
    void showPage(int index, const QString& caption);
    QTreeWidgetItem* node(const QString& key) const;

    RadioDocument& m_document;
    Language m_lang;
    int m_pageIndex = kFunctionSettingPage;

    QTreeWidget* TreeOPS;
    QGroupBox* FraOPS;
    QStackedLayout* m_stack;
    std::array<OptionPage*, kPageCount> FraOp{};
    std::array<QPushButton*, 3> CmdOps{};
};

} // namespace norvik
