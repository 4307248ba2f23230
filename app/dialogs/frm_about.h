#pragma once

#include <QDate>
#include <QDialog>

#include "core/strings/strings.h"

class QLabel;
class QPushButton;

namespace norvik {

// The About box: product, version and release date, captioned in the language in force.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(Language lang, QWidget* parent = nullptr);

    static QString infoText(Language lang, const QLocale& locale);
    static constexpr const char* kVersion = "1.00";
    static QDate releaseDate() { return QDate(2012, 1, 14); }

private:
    QLabel* lblInfo;
    QPushButton* CmdOk;
};

} // namespace norvik
