#include "app/wizard/window_style.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace vs {

void SetupToolWindow(QDialog* dialog, const QString& caption, QSize clientSize, bool closeButton) {
  Qt::WindowFlags flags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (closeButton) flags |= Qt::WindowCloseButtonHint;
  dialog->setWindowFlags(flags);
  dialog->setWindowTitle(caption);
  dialog->setFixedSize(clientSize);
  dialog->setModal(true);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    dialog->move(area.center() - QPoint(clientSize.width() / 2, clientSize.height() / 2));
  }
}

QLabel* MakeLabel(QWidget* parent, const QString& text, QRect geometry, bool bold) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setGeometry(geometry);
  if (bold) SetBold(label);
  return label;
}

QPushButton* MakeButton(QWidget* parent, const QString& caption, QRect geometry) {
  auto* button = new QPushButton(caption, parent);
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  return button;
}

void SetBold(QWidget* widget, bool bold) {
  QFont font = widget->font();
  font.setBold(bold);
  widget->setFont(font);
}

void SetTextColor(QWidget* widget, QColor color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, color);
  widget->setPalette(palette);
}

}  // namespace vs
