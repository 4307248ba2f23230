#pragma once

#include <QDialog>
#include <vector>

#include "core/compare/image_compare.h"
#include "core/strings/strings.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace norvik {

// What differs between the window's image and a file, one line per difference, the window's
// value first.
class frmCompare : public QDialog {
    Q_OBJECT
public:
    frmCompare(const std::vector<ImageDifference>& differences, const QString& fileName, Language lang,
               QWidget* parent = nullptr);

private:
    QLabel* lblSummary;
    QListWidget* lstDifferences;
    QPushButton* CmdClose;
};

} // namespace norvik
