#pragma once
// The wizard's colours, taken from the colour scheme in use: a white page in
// a light scheme, a dark one in a dark scheme, and its own colours made
// readable on either. Each is worked out again when the scheme changes.
#include <QColor>
#include <QPalette>

class QWidget;

namespace vs {

// Gives a widget's text `color`, made lighter or darker where it would not
// stand out from the widget's background.
void SetTextColor(QWidget* widget, QColor color);
// The same with the scheme's own colour for `role` (the link colour).
void SetTextRole(QWidget* widget, QPalette::ColorRole role);
// Gives a widget the scheme's page colours: the Base colour as background
// (white in a light scheme) and the Text colour for its texts.
void UsePageColors(QWidget* widget);
// A background of the page colour with `share` (0 to 1) of `tint` mixed in;
// a tint of nothing mixes in the page's text colour.
void SetTintedBackground(QWidget* widget, QColor tint, double share);

// Works the colours above out again for `window` and its widgets whenever
// the application's colour scheme changes.
void FollowColorScheme(QWidget* window);

}  // namespace vs
