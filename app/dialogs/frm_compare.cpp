#include "app/dialogs/frm_compare.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/common/texts.h"
#include "core/strings/string_ids.h"

namespace norvik {

frmCompare::frmCompare(const std::vector<ImageDifference>& differences, const QString& fileName, Language lang,
                       QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmCompare"));
    setWindowTitle(qtext(ids::CompareTitle, lang).arg(fileName));

    lblSummary = new QLabel(differences.empty() ? qtext(ids::CompareSame, lang)
                                                : qtext(ids::CompareCount, lang).arg(differences.size()),
                            this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lstDifferences = new QListWidget(this);
    lstDifferences->setObjectName(QStringLiteral("lstDifferences"));
    for (const ImageDifference& d : differences)
        lstDifferences->addItem(qstr(differenceText(d, lang)));
    lstDifferences->setVisible(!differences.empty());
    lstDifferences->setMinimumWidth(fontMetrics().averageCharWidth() * 70);

    CmdClose = new QPushButton(qtext(ids::OptionsClose, lang), this);
    CmdClose->setObjectName(QStringLiteral("CmdClose"));
    CmdClose->setDefault(true);
    connect(CmdClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary);
    layout->addWidget(lstDifferences, 1);
    layout->addLayout(buttons);
}

} // namespace norvik
