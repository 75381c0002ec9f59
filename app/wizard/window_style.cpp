#include "app/wizard/window_style.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vs {

void SetupToolWindow(QDialog* dialog, const QString& caption, bool closeButton) {
  Qt::WindowFlags flags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (closeButton) flags |= Qt::WindowCloseButtonHint;
  dialog->setWindowFlags(flags);
  dialog->setWindowTitle(caption);
  dialog->setModal(true);
  FollowColorScheme(dialog);
}

void FitWindow(QWidget* window, QLayout* content, QSize size) {
  // The body holds the drawn size as its minimum; the outer layout fixes the
  // window to the body's size hint, which grows with the texts.
  auto* body = new QWidget(window);
  body->setLayout(content);
  body->setMinimumSize(size);
  auto* outer = new QVBoxLayout(window);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSizeConstraint(QLayout::SetFixedSize);
  outer->addWidget(body);
  outer->activate();
}

int ExecOverParent(QDialog& dialog) {
  // Sized before it is placed: Qt centres it over its parent at its size then.
  dialog.layout()->activate();
  return dialog.exec();
}

QLabel* MakeLabel(const QString& text, bool bold) {
  auto* label = new QLabel(text);
  label->setTextFormat(Qt::PlainText);
  if (bold) SetBold(label);
  return label;
}

QPushButton* MakeButton(const QString& caption, int minWidth) {
  auto* button = new QPushButton(caption);
  button->setMinimumWidth(minWidth);
  button->setAutoDefault(false);
  return button;
}

QPushButton* MakeDialogButton(const QString& caption, int minWidth) {
  QPushButton* button = MakeButton(caption, minWidth);
  button->setAutoDefault(true);
  return button;
}

void SetBold(QWidget* widget, bool bold) {
  QFont font = widget->font();
  font.setBold(bold);
  widget->setFont(font);
}

}  // namespace vs
