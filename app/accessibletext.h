#pragma once
// The Qt side of what assistive tools learn about the window: names and
// buddies from the window logic, tooltips and descriptions in Qt's form, and
// accessible interfaces that leave out what a reader should not meet.

class QString;
class QWidget;

namespace trelvane {

class frmConfig;

// A control's tooltip and accessible description: the same sentence.
void explain(QWidget *w, const QString &sentence);

// Names and buddies for the built window. The decorative sample messages and
// the hidden preview pictures are left out of what assistive tools see.
void applyAccessibleText(frmConfig &window);

}  // namespace trelvane
