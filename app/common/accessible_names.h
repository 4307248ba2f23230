#pragma once

#include <QString>

#include "core/strings/strings.h"

class QWidget;

namespace norvik {

// Screen readers announce a control by its accessible name. Most of ours stand beside a label
// (a form row, a caption in a grid); this gives each such control its label's text as its name,
// and each arrow button beside a field "Increase …" / "Decrease …" after that field, so a window
// only names the controls that have no label at all. Run again after a language switch: names
// set here follow the labels, names a window set itself are left alone.
void nameControlsFromLabels(QWidget* root, Language lang);

// A caption as a name: "&Read" and "读取(&R)" read "Read" and "读取", without a closing colon.
QString nameFromCaption(QString caption);

// Marks an arrow button as stepping `field`, for nameControlsFromLabels.
void setSteppedField(QWidget* arrowButton, QWidget* field, bool increases);

} // namespace norvik
