#include "app/wizard/scheme_colors.h"

#include <QEvent>
#include <QWidget>

#include "app/wizard/theme_colors.h"

namespace vs {
namespace {

// What each widget was given, kept so that it can be given again.
constexpr char kPage[] = "vsPageColors";
constexpr char kTextColor[] = "vsTextColor";
constexpr char kTextRole[] = "vsTextRole";
constexpr char kTint[] = "vsTint";
constexpr char kTintShare[] = "vsTintShare";
constexpr char kFollowing[] = "vsFollowsScheme";

void ApplyPage(QWidget* widget) {
  widget->setAutoFillBackground(true);
  QPalette palette = widget->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Window, palette.color(group, QPalette::Base));
    if (group != QPalette::Disabled) palette.setColor(group, QPalette::WindowText, palette.color(group, QPalette::Text));
  }
  widget->setPalette(palette);
}

void ApplyTint(QWidget* widget) {
  widget->setAutoFillBackground(true);
  QPalette palette = widget->palette();
  QColor tint = widget->property(kTint).value<QColor>();
  if (!tint.isValid()) tint = palette.color(QPalette::Text);
  palette.setColor(QPalette::Window, Mixed(palette.color(QPalette::Base), tint, widget->property(kTintShare).toDouble()));
  widget->setPalette(palette);
}

void ApplyTextColor(QWidget* widget) {
  QPalette palette = widget->palette();
  const QVariant role = widget->property(kTextRole);
  QColor color = role.isValid() ? palette.color(static_cast<QPalette::ColorRole>(role.toInt()))
                                : widget->property(kTextColor).value<QColor>();
  // On the window's colour or the page's, whichever it ends up on.
  color = ReadableOn(color, palette.color(QPalette::Window));
  palette.setColor(QPalette::WindowText, ReadableOn(color, palette.color(QPalette::Base)));
  widget->setPalette(palette);
}

void Refresh(QWidget* window) {
  QList<QWidget*> widgets = window->findChildren<QWidget*>();
  widgets.prepend(window);
  // Backgrounds first: the texts are made readable on them.
  for (QWidget* widget : widgets)
    if (widget->property(kPage).toBool()) ApplyPage(widget);
  for (QWidget* widget : widgets)
    if (widget->property(kTintShare).isValid()) ApplyTint(widget);
  for (QWidget* widget : widgets)
    if (widget->property(kTextColor).isValid() || widget->property(kTextRole).isValid()) ApplyTextColor(widget);
}

class TSchemeFollower : public QObject {
 public:
  explicit TSchemeFollower(QWidget* window) : QObject(window), window_(window) { window->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Once every widget has taken the new scheme: the event comes to each in turn.
    if (watched == window_ && event->type() == QEvent::ApplicationPaletteChange && !pending_) {
      pending_ = true;
      QMetaObject::invokeMethod(
          this,
          [this] {
            pending_ = false;
            Refresh(window_);
          },
          Qt::QueuedConnection);
    }
    return false;
  }

 private:
  QWidget* window_;
  bool pending_ = false;
};

}  // namespace

void SetTextColor(QWidget* widget, QColor color) {
  widget->setProperty(kTextColor, color);
  widget->setProperty(kTextRole, QVariant());
  ApplyTextColor(widget);
}

void SetTextRole(QWidget* widget, QPalette::ColorRole role) {
  widget->setProperty(kTextRole, static_cast<int>(role));
  ApplyTextColor(widget);
}

void UsePageColors(QWidget* widget) {
  widget->setProperty(kPage, true);
  ApplyPage(widget);
}

void SetTintedBackground(QWidget* widget, QColor tint, double share) {
  widget->setProperty(kTint, tint);
  widget->setProperty(kTintShare, share);
  ApplyTint(widget);
}

void FollowColorScheme(QWidget* window) {
  if (window->property(kFollowing).toBool()) return;
  window->setProperty(kFollowing, true);
  new TSchemeFollower(window);
}

}  // namespace vs
