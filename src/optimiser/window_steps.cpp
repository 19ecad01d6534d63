#include "optimiser/window_steps.h"

#include <cctype>

#include "optimiser/run.h"
#include "optimiser/texts.h"
#include "platform/files.h"
#include "records/numbers.h"
#include "records/text.h"

namespace qj::optim {

WindowCaptions windowCaptions(char sep) {
  WindowCaptions c;
  c.window = shell(255);
  c.modeHeading = shell(98) + ":";
  c.batchMode = shell(473);
  c.individualMode = shell(209);
  c.codePrompt = shell(57) + ":";
  c.parameterHeading = shell(46) + ":";
  // The bounds written with the separator the user types.
  const auto number = [sep](const char* whole, const char* fraction) {
    return lit(std::string(whole) + sep + fraction);
  };
  c.relaxation = shell(431) + " (>=" + number("0", "1") + " " + shell(1).trimmed() + " <" +
                 number("1", "0") + ")";
  c.stop = shell(221) + " (>=" + number("0", "001") + " " + shell(1).trimmed() +
           " <=" + number("0", "1") + ")";
  c.interval = shell(247) + " (>=1)";
  c.limit = shell(249) + " (>=10)";
  // The buttons' captions keep their access keys.
  c.next = shell(131).withAccessKeys();
  c.start = shell(0).trimmed().withAccessKeys();
  c.reset = shell(606).withAccessKeys();
  c.end = shell(122).withAccessKeys();
  return c;
}

ParameterTexts defaultParameterTexts(char sep) {
  return {std::string("0") + sep + "9", std::string("0") + sep + "003", "5", "1000"};
}

ParameterCheck checkParameters(const ParameterTexts& texts, char sep) {
  ParameterCheck check;
  auto refuse = [&](ParameterEdit edit, std::optional<Text> text) {
    check.focus = edit;
    if (text) check.message = warningMessage(*text);
    return check;
  };
  IterationSettings s;
  const auto w = parseReal(texts.relaxation, sep);
  if (!w) return refuse(ParameterEdit::Relaxation, std::nullopt);
  if (!(*w >= 0.09999 && *w < 1.0)) return refuse(ParameterEdit::Relaxation, shell(320) + ".");
  s.relaxationCoef = *w;
  const auto x = parseReal(texts.stop, sep);
  if (!x) return refuse(ParameterEdit::Stop, std::nullopt);
  if (!(*x >= 0.00099 && *x <= 0.10001)) return refuse(ParameterEdit::Stop, shell(319) + ".");
  s.stopCriterion = *x;
  const auto interval = parseInt(texts.interval);
  if (!interval) return refuse(ParameterEdit::Interval, std::nullopt);
  if (*interval < 1) return refuse(ParameterEdit::Interval, shell(760) + ".");
  s.checkInterval = *interval;
  const auto limit = parseInt(texts.limit);
  if (!limit) return refuse(ParameterEdit::Limit, std::nullopt);
  if (*limit < 10) return refuse(ParameterEdit::Limit, shell(761) + ".");
  s.iterationLimit = *limit;
  check.settings = s;
  return check;
}

SummaryTexts summaryTexts(const IterationSettings& s, char sep) {
  SummaryTexts t;
  t.heading = shell(489) + ":";
  t.relaxation = shortText(40) + " = " + val(formatFixed(s.relaxationCoef, 2, sep));
  t.stop = shortText(19) + " = " + val(formatFixed(s.stopCriterion, 3, sep));
  t.interval = shortText(18) + " = " + num(s.checkInterval);
  t.limit = shortText(21) + " = " + num(s.iterationLimit);
  return t;
}

std::array<FieldRule, 4> parameterEditRules(char sep) {
  return {{{KeyFilter::Decimal, 4, false, sep},
           {KeyFilter::Decimal, 5, false, sep},
           {KeyFilter::Digit},
           {KeyFilter::Digit}}};
}

Text nothingQueuedText() {
  return shell(6) + ". " + shell(569) + ".";
}

Text noInputText(std::string_view code) {
  return shell(8) + ". " + shell(568) + " \"" + val(inputFileName(code)) + "\".";
}

Text taskLineText(std::string_view code) {
  return shell(747) + " - \"" + val(code) + "\".";
}

InfoTexts readInfoTexts(const std::filesystem::path& infoFile) {
  InfoTexts info;
  // The file holds a few short lines; anything past its first kilobytes is never needed.
  const auto bytes = readFilePrefix(infoFile, 64 * 1024);
  if (!bytes) {
    info.text1 = lit("? (") + shell(460) + " System\\info)";
    info.text2 = lit("? (") + shell(683) + ")";
    info.text3 = info.text2;
    return info;
  }
  std::vector<std::string> lines;
  size_t begin = 0;
  while (lines.size() < 6 && begin <= bytes->size()) {
    size_t end = bytes->find('\n', begin);
    if (end == std::string::npos) {
      if (begin < bytes->size()) lines.push_back(bytes->substr(begin));
      break;
    }
    lines.push_back(bytes->substr(begin, end - begin));
    begin = end + 1;
  }
  auto line = [&](size_t k) { return k < lines.size() ? val(trim(lines[k])) : val(""); };
  info.text1 = line(1);
  info.text2 = line(3);
  info.text3 = line(5);
  return info;
}

}  // namespace qj::optim
