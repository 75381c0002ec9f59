#pragma once
// Small helpers that give the wizard's windows their look: tool windows,
// labels and buttons, and layouts that keep a window at its drawn size
// unless its texts need more room at the font in use.
#include <QColor>
#include <QSize>
#include <QString>

#include "app/wizard/scheme_colors.h"

class QDialog;
class QLabel;
class QLayout;
class QPushButton;
class QWidget;

namespace vs {

// A modal tool window; closeButton gives its title bar a close button.
// Shown, it opens over its parent (Qt centres a dialog over its parent).
void SetupToolWindow(QDialog* dialog, const QString& caption, bool closeButton);

// Lays content out in window at `size`, or larger where its texts need it;
// the user cannot resize the window, which follows its content.
void FitWindow(QWidget* window, QLayout* content, QSize size);
// Shows a dialog built with FitWindow modally, over its parent, at the size
// its texts need now.
int ExecOverParent(QDialog& dialog);

// A label showing plain text (never markup: file names may contain "<").
QLabel* MakeLabel(const QString& text, bool bold = false);
// A button at least `minWidth` wide; Return presses it only where a window says so.
QPushButton* MakeButton(const QString& caption, int minWidth = 80);
// A dialog's button: Return presses it while it has the focus, and the
// dialog's default button shows as such.
QPushButton* MakeDialogButton(const QString& caption, int minWidth = 80);
void SetBold(QWidget* widget, bool bold = true);

}  // namespace vs
