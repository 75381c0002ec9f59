#include "app/wizard/message_boxes.h"

#include <QLabel>
#include <QPushButton>

namespace vs {

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                            const QString& text, const QString& detail) {
  auto box = std::make_unique<QMessageBox>(icon, title, text, QMessageBox::Ok, parent);
  box->setTextFormat(Qt::PlainText);  // file names are never read as markup
  if (!detail.isEmpty()) {
    box->setInformativeText(detail);
    // The detail's label does not follow the box's text format.
    for (QLabel* label : box->findChildren<QLabel*>())
      if (label->text() == detail) label->setTextFormat(Qt::PlainText);
  }
  return box;
}

std::unique_ptr<QMessageBox> MakeQuestionBox(QWidget* parent, const QString& title, const QString& text) {
  auto box = std::make_unique<QMessageBox>(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                                           parent);
  box->setTextFormat(Qt::PlainText);
  // Space or Return on the box must not throw work away.
  box->setDefaultButton(QMessageBox::No);
  box->setEscapeButton(QMessageBox::No);
  return box;
}

std::unique_ptr<QMessageBox> MakeKeptWorkbookBox(QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(QMessageBox::Warning, "Confirmation...", kKeptWorkbookQuestion,
                                           QMessageBox::NoButton, parent);
  box->setTextFormat(Qt::PlainText);
  QPushButton* save = box->addButton("Save as...", QMessageBox::AcceptRole);
  box->addButton("Discard", QMessageBox::DestructiveRole);
  QPushButton* cancel = box->addButton(QMessageBox::Cancel);
  box->setDefaultButton(save);
  box->setEscapeButton(cancel);
  return box;
}

}  // namespace vs
