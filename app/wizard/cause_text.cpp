#include "app/wizard/cause_text.h"

namespace vs {

QString CauseSentence(const std::string& cause) {
  QString text = QString::fromStdString(cause).trimmed();
  if (text.isEmpty()) return text;
  text[0] = text[0].toUpper();
  if (!text.endsWith('.') && !text.endsWith('!') && !text.endsWith('?')) text += '.';
  return text;
}

}  // namespace vs
