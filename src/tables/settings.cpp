#include "tables/settings.h"

#include "platform/rdd/orders.h"
#include "platform/runtime/number.h"
#include "platform/runtime/procedures.h"
#include "platform/runtime/text.h"
#include "tables/session_state.h"

namespace qv::tables {

namespace {

// The command split into words: word 1 (cut to four characters), 2 and 3
// up to the next blank, word 4 the trimmed rest.
struct Words {
  std::string w1, w2, w3, w4;
};

std::string NextWord(std::string& rest) {
  rest = std::string(rt::LTrim(rest));
  const size_t blank = rest.find(' ');
  std::string word = rest.substr(0, blank);
  rest = blank == std::string::npos ? std::string() : rest.substr(blank);
  return word;
}

Words Split(std::string_view command) {
  std::string rest = rt::Upper(command) + " ";
  Words w;
  w.w1 = NextWord(rest).substr(0, 4);
  w.w2 = NextWord(rest);
  w.w3 = NextWord(rest);
  w.w4 = std::string(rt::AllTrim(rest));
  return w;
}

bool Is(const std::string& word, std::string_view what) {
  return rt::XbaseEquals(word, what, false);
}

void Put(rt::Session& session, size_t position, std::string_view text) {
  std::string status = StatusString(session);
  status.replace(position - 1, text.size(), text);
  SessionVar(session, "XXVSTATUS") = rt::Value(status);
}

bool HoldsArray(rt::Session& session, std::string_view name) {
  const rt::Value* v = session.Find(name);
  return v != nullptr && v->IsArray();
}

void StartPrintBuffer(rt::Session& session) {
  if (!HoldsArray(session, "APRINT") && !HoldsArray(session, "AVIEW1")) {
    SessionVar(session, "APRINT") = rt::Value::Array({});
  }
}

// Prints the buffer through the report printer when one is registered, then
// drops the buffer and the page headers.
void FlushPrintBuffer(rt::Session& session, bool no_page) {
  if (session.procedures().Contains("PRINTIT") && HoldsArray(session, "APRINT")) {
    rt::Call(session, "PRINTIT", {rt::Value(no_page)});
  }
  SessionVar(session, "APRINT") = rt::Value();
  for (std::string_view header : {"HEADER1", "HEADER2", "HEADER3"}) {
    SessionVar(session, header) = rt::Value("");
  }
}

// A switch both in its runtime home and at its position of XXVSTATUS.
void Switch(rt::Session& session, bool& setting, size_t position, bool on) {
  setting = on;
  Put(session, position, on ? "1" : "0");
}

std::string MarginText(int margin) { return rt::Str(margin, 2, 0); }

}  // namespace

std::string StatusString(rt::Session& session) {
  const rt::Value* v = session.Find("XXVSTATUS");
  std::string status = v != nullptr && v->IsString() ? v->str() : std::string();
  status.resize(kStatusLength, ' ');
  return status;
}

bool SetIt(Context& ctx, std::string_view command) {
  rt::Session& session = ctx.session();
  SetFlags& flags = ctx.set_flags();
  const Words w = Split(command);
  const bool on = Is(w.w2, "ON");
  if (Is(w.w1, "DELI")) {
    Switch(session, flags.delimiters, 1, on);
  } else if (Is(w.w1, "DEVI")) {
    const bool printer = Is(w.w3, "PRIN");
    if (printer) {
      SessionVar(session, "PRROW") = rt::Value::Int(0);
      StartPrintBuffer(session);
    } else {
      FlushPrintBuffer(session, w.w4.find("NOPAGE") != std::string::npos);
    }
    Put(session, 2, printer ? "P" : "S");
  } else if (Is(w.w1, "PRIN")) {
    if (on) {
      StartPrintBuffer(session);
    } else {
      FlushPrintBuffer(session, false);
    }
    Put(session, 6, on ? "1" : "0");
  } else if (Is(w.w1, "CONF")) {
    Switch(session, flags.confirm, 3, on);
  } else if (Is(w.w1, "DELE")) {
    Switch(session, ctx.workspace().settings().deleted, 4, on);
  } else if (Is(w.w1, "CONS")) {
    Switch(session, flags.console, 7, on);
  } else if (Is(w.w1, "INTE")) {
    Switch(session, flags.intensity, 8, on);
  } else if (Is(w.w1, "KEY")) {
    Put(session, 9, on ? "1" : "0");
  } else if (Is(w.w1, "BELL")) {
    Switch(session, flags.bell, 10, on);
  } else if (Is(w.w1, "EXAC")) {
    Switch(session, session.settings().exact, 11, on);
  } else if (Is(w.w1, "MARG")) {
    const int margin = static_cast<int>(rt::Val(w.w3).value);
    SessionVar(session, "NMARGIN") = rt::Value::Int(margin);
    Put(session, 12, MarginText(margin));
  } else if (Is(w.w1, "ORDE")) {
    if (rdd::WorkArea* area = ctx.workspace().Area()) {
      (void)rdd::SetFocus(*area, static_cast<int>(rt::Val(w.w3).value));
    }
  } else {
    SessionVar(session, "MESSAGE") = rt::Value("Setit ERROR");
    rt::Call(session, "ERRMSG", {rt::Value("Setit ERROR")});
  }
  return true;
}

bool Reclaim(Context& ctx, std::string_view status) {
  rt::Session& session = ctx.session();
  SetFlags& flags = ctx.set_flags();
  std::string s(status);
  s.resize(kStatusLength, ' ');
  flags.delimiters = s[0] == '1';
  flags.confirm = s[2] == '1';
  ctx.workspace().settings().deleted = s[3] == '1';
  flags.printer = s[5] == '1';
  flags.console = s[6] != '0';
  flags.intensity = s[7] == '1';
  flags.bell = s[9] == '1';
  session.settings().exact = s[10] == '1';
  flags.margin = static_cast<int>(rt::Val(s.substr(11, 2)).value);
  SessionVar(session, "XXVSTATUS") = rt::Value(std::string(status));
  return true;
}

}  // namespace qv::tables
