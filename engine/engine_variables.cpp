// Text variables: <%Name%> markers replaced by dates, document information,
// page numbers or the caller's values.
#include <ctime>

#include "engine/engine.h"
#include "platform/text.h"
#include "platform/codepage.h"

namespace vs {
namespace {

const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

std::u16string Wide(const std::string& ascii) { return AnsiToWide(ascii); }

std::string Two(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

std::string Clock(const std::tm& t, bool seconds) {
  const int hour = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
  std::string text = std::to_string(hour) + ":" + Two(t.tm_min);
  if (seconds) text += ":" + Two(t.tm_sec);
  return text + (t.tm_hour < 12 ? " AM" : " PM");
}

}  // namespace

std::u16string TqxCustomDocumentEngine::ExpandPageVariables(const std::u16string& text) {
  std::u16string result = ReplaceAllText(text, u"<%Pg#%>", Wide(std::to_string(currentPage_)));
  return ReplaceAllText(result, u"<%PgCnt%>", Wide(std::to_string(pageCount_)));
}

std::u16string TqxCustomDocumentEngine::ExpandVariables(const std::u16string& text, bool expandPage) {
  if (!preferences_->CalculateVariables() || text.empty()) return text;
  std::u16string result = expandPage ? ExpandPageVariables(text) : text;

  std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  const std::string shortDate =
      std::to_string(t.tm_mon + 1) + "/" + std::to_string(t.tm_mday) + "/" + std::to_string(t.tm_year + 1900);
  const std::string longDate = std::string(kDays[t.tm_wday]) + ", " + kMonths[t.tm_mon] + " " +
                               std::to_string(t.tm_mday) + ", " + std::to_string(t.tm_year + 1900);
  result = ReplaceAllText(result, u"<%ShortDate%>", Wide(shortDate));
  result = ReplaceAllText(result, u"<%ShortTime%>", Wide(Clock(t, false)));
  result = ReplaceAllText(result, u"<%LongDate%>", Wide(longDate));
  result = ReplaceAllText(result, u"<%LongTime%>", Wide(Clock(t, true)));
  result = ReplaceAllText(result, u"<%Author%>", docInfo_.Author());
  result = ReplaceAllText(result, u"<%Creator%>", docInfo_.Creator());
  result = ReplaceAllText(result, u"<%Subject%>", docInfo_.Subject());
  result = ReplaceAllText(result, u"<%Title%>", docInfo_.Title());
  if (!OnCalcVariables) return result;

  // Further variables are the caller's. Every replacement removes at least
  // its own marker or moves the scan on, so the loop ends.
  size_t start = 0;
  size_t guard = 0;
  while (start < result.size() && guard++ < 4 * result.size() + 16) {
    const size_t open = result.find(u"<%", start);
    if (open == std::u16string::npos) break;
    const size_t close = result.find(u"%>", open + 2);
    if (close == std::u16string::npos) break;
    const size_t inner = result.find(u"<%", open + 2);
    if (inner != std::u16string::npos && inner < close) {
      start = open + 2;
      continue;
    }
    const std::u16string variable = result.substr(open, close + 2 - open);
    const std::u16string name = result.substr(open + 2, close - open - 2);
    if (name.empty() || variable == u"<%Pg#%>" || variable == u"<%PgCnt%>") {
      start = close + 2;
      continue;
    }
    std::u16string value;
    OnCalcVariables(*this, name, value);
    result = ReplaceAllText(result, variable, value);
    // A value holding its own marker would be replaced forever: move past it.
    start = result.compare(open, variable.size(), variable) == 0 ? open + variable.size() : open;
  }
  return result;
}

}  // namespace vs
