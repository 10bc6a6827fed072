#include "app/script_lines.h"

#include <cctype>
#include <charconv>

#include "platform/runtime/text.h"
#include "platform/xbase/expr.h"
#include "platform/xbase/value_text.h"

namespace qv::app {

namespace {

// The first blank-separated word of text, and text after it (trimmed).
std::pair<std::string_view, std::string_view> SplitWord(std::string_view text) {
  text = rt::AllTrim(text);
  const size_t end = text.find_first_of(" \t");
  if (end == std::string_view::npos) return {text, {}};
  return {text.substr(0, end), rt::AllTrim(text.substr(end + 1))};
}

bool Is(std::string_view word, std::string_view keyword) { return rt::EqualsNoCase(word, keyword); }

bool IsName(std::string_view name) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
  for (char c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  return true;
}

Status Bad(std::string_view line, std::string_view why) {
  return Status::InvalidArgument("script line \"" + std::string(line) + "\": " + std::string(why));
}

// "cancel after N" of "press cancel after N".
Result<int> PressCount(std::string_view rest) {
  auto [cancel, after_rest] = SplitWord(rest);
  auto [after, count] = SplitWord(after_rest);
  int n = 0;
  auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), n);
  if (!Is(cancel, "cancel") || !Is(after, "after") || error != std::errc() ||
      end != count.data() + count.size() || n < 1) {
    return Status::InvalidArgument("expected: press cancel after N (N >= 1)");
  }
  return n;
}

// Lines that only fill the front end's queues and need no running program.
bool OnlyQueues(const ScriptLine& line) {
  using Kind = ScriptLine::Kind;
  return line.kind == Kind::kAnswer || line.kind == Kind::kKey || line.kind == Kind::kNotes ||
         line.kind == Kind::kPressCancel;
}

}  // namespace

Result<std::optional<ScriptLine>> ParseScriptLine(std::string_view line) {
  std::string_view trimmed = rt::AllTrim(line);
  if (!trimmed.empty() && trimmed.back() == '\r')
    trimmed = rt::AllTrim(trimmed.substr(0, trimmed.size() - 1));
  if (trimmed.empty() || trimmed[0] == '#') return std::optional<ScriptLine>();
  auto [word, rest] = SplitWord(trimmed);
  ScriptLine out;
  if (Is(word, "choose")) {
    if (rest.empty()) return Bad(line, "choose needs the captions");
    out.kind = ScriptLine::Kind::kChoose;
    out.text = std::string(rest);
  } else if (Is(word, "answer")) {
    Result<gui::Answer> answer = gui::ParseAnswer(rest);
    if (!answer.ok()) return Bad(line, answer.status().message());
    out.kind = ScriptLine::Kind::kAnswer;
    out.answer = *answer;
  } else if (Is(word, "set")) {
    auto [name, expr] = SplitWord(rest);
    if (!IsName(name) || expr.empty()) return Bad(line, "expected: set NAME EXPR");
    out.kind = ScriptLine::Kind::kSet;
    out.name = std::string(name);
    out.text = std::string(expr);
  } else if (Is(word, "eval")) {
    if (rest.empty()) return Bad(line, "eval needs an expression");
    out.kind = ScriptLine::Kind::kEval;
    out.text = std::string(rest);
  } else if (Is(word, "press")) {
    Result<int> count = PressCount(rest);
    if (!count.ok()) return Bad(line, count.status().message());
    out.kind = ScriptLine::Kind::kPressCancel;
    out.count = *count;
  } else if (Is(word, "key")) {
    auto [key, state] = SplitWord(rest);
    const bool esc = Is(key, "esc"), enter = Is(key, "enter");
    const bool down = Is(state, "down"), up = Is(state, "up");
    if (!(esc || enter) || !(down || up)) return Bad(line, "expected: key esc|enter down|up");
    out.kind = ScriptLine::Kind::kKey;
    out.key = esc ? gui::Key::kEscape : gui::Key::kEnter;
    out.on = down;
  } else if (Is(word, "notes")) {
    const bool instant = Is(rest, "instant");
    if (!instant && !Is(rest, "real")) return Bad(line, "expected: notes instant|real");
    out.kind = ScriptLine::Kind::kNotes;
    out.on = instant;
  } else if (Is(word, "close")) {
    if (!rest.empty()) return Bad(line, "close takes nothing");
    out.kind = ScriptLine::Kind::kClose;
  } else {
    return Bad(line, "unknown word " + std::string(word));
  }
  return std::optional<ScriptLine>(std::move(out));
}

ScriptRunner::ScriptRunner(gui::ScriptGui& gui, tables::Context& ctx, std::istream& in)
    : gui_(gui), ctx_(ctx), in_(in) {}

void ScriptRunner::Stop(std::string_view reason) {
  gui_.transcript().Write("STOP", {std::to_string(gui::kExitBadScript), reason});
  throw rt::QuitRequest{gui::kExitBadScript};
}

bool ScriptRunner::ReadLine(std::string& text) {
  if (put_back_) {
    text = std::move(*put_back_);
    put_back_.reset();
    return true;
  }
  if (!std::getline(in_, text)) return false;
  ++line_number_;
  return true;
}

void ScriptRunner::QueueNextAnswer() {
  std::string text;
  while (ReadLine(text)) {
    Result<std::optional<ScriptLine>> line = ParseScriptLine(text);
    if (line.ok() && !line->has_value()) continue;
    if (!line.ok() || !OnlyQueues(**line)) {
      put_back_ = std::move(text);
      return;
    }
    Run(**line);
    if ((*line)->kind == ScriptLine::Kind::kAnswer) return;
  }
}

bool ScriptRunner::RunNext() {
  std::string text;
  while (ReadLine(text)) {
    Result<std::optional<ScriptLine>> line = ParseScriptLine(text);
    if (!line.ok()) Stop("line " + std::to_string(line_number_) + ": " + line.status().message());
    if (!line->has_value()) continue;
    Run(**line);
    return true;
  }
  return false;
}

void ScriptRunner::SkipRest() {
  std::string text;
  while (ReadLine(text)) {
    std::string_view trimmed = rt::AllTrim(text);
    if (!trimmed.empty() && trimmed[0] != '#') gui_.transcript().Write("NOT_RUN", {trimmed});
  }
}

rt::Value ScriptRunner::Evaluate(const std::string& text) {
  Result<xb::Expr> expr = xb::Expr::Compile(text);
  if (!expr.ok()) Stop("expression does not compile: " + expr.status().message());
  // As in a routine: Retry evaluates again, Default makes the value NIL.
  for (;;) {
    try {
      return expr->Eval(ctx_.host());
    } catch (const rt::RuntimeError& error) {
      rt::ErrorInfo info = error.info();
      info.can_default = true;
      info.can_retry = true;
      if (rt::RaiseOrQuit(ctx_.session(), info) != rt::ErrorChoice::kRetry) return rt::Value();
    }
  }
}

void ScriptRunner::Run(const ScriptLine& line) {
  switch (line.kind) {
    case ScriptLine::Kind::kChoose: {
      Status chosen = gui_.Choose(line.text);
      if (!chosen.ok()) Stop(chosen.message());
      break;
    }
    case ScriptLine::Kind::kAnswer:
      gui_.answers().Push(line.answer);
      break;
    case ScriptLine::Kind::kSet:
      ctx_.session().DeclarePublic(line.name) = Evaluate(line.text);
      break;
    case ScriptLine::Kind::kEval: {
      const rt::Value value = Evaluate(line.text);
      const std::string type(1, rt::TypeLetter(value.type()));
      gui_.transcript().Write("EVAL", {type, xb::ValueText(value)});
      break;
    }
    case ScriptLine::Kind::kPressCancel:
      gui_.PressCancelAfter(line.count);
      break;
    case ScriptLine::Kind::kKey:
      gui_.keys().Set(line.key, line.on);
      break;
    case ScriptLine::Kind::kNotes:
      gui_.SetNotesInstant(line.on);
      break;
    case ScriptLine::Kind::kClose:
      gui_.CloseMainWindow();
      break;
  }
}

}  // namespace qv::app
