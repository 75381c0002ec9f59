#pragma once
// Small helpers that give the wizard's windows their fixed layout: tool
// windows of an exact client size, labels and buttons at exact places.
#include <QColor>
#include <QRect>
#include <QString>

class QDialog;
class QLabel;
class QPushButton;
class QWidget;

namespace vs {

// A fixed-size tool window centred on the screen; closeButton keeps only the
// close button in its title bar, otherwise it has none.
void SetupToolWindow(QDialog* dialog, const QString& caption, QSize clientSize, bool closeButton);

// A label showing plain text (never markup: file names may contain "<").
QLabel* MakeLabel(QWidget* parent, const QString& text, QRect geometry, bool bold = false);
QPushButton* MakeButton(QWidget* parent, const QString& caption, QRect geometry);
void SetBold(QWidget* widget, bool bold = true);
void SetTextColor(QWidget* widget, QColor color);

}  // namespace vs
