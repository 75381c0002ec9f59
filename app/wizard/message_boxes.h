#pragma once
// The wizard's message boxes, made ready to show; the safe answer is the
// default and what Escape or the close button gives.
#include <QMessageBox>
#include <memory>

namespace vs {

// A box with OK; `detail`, when given, says why under the text.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                            const QString& text, const QString& detail = {});
// A Yes/No question whose default and Escape answer is No.
std::unique_ptr<QMessageBox> MakeQuestionBox(QWidget* parent, const QString& title, const QString& text);

// Asks what becomes of a converted workbook that was not saved: "Save as..."
// (the default), "Discard", or "Cancel" (Escape and the close button).
std::unique_ptr<QMessageBox> MakeKeptWorkbookBox(QWidget* parent);
inline constexpr char kKeptWorkbookQuestion[] =
    "The converted workbook has not been saved yet.\nSave it under another name before it is discarded?";

}  // namespace vs
