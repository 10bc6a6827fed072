#include "shell/startup/session_vars.h"

#include <span>
#include <string>

#include "platform/runtime/number.h"
#include "platform/runtime/text.h"

namespace qv::shell {

namespace {

using rt::Value;

enum class Init {
  kFalse,  // declared without a value, or assigned false
  kTrue,
  kNil,
  kNumber,  // text: the literal (as the source wrote it), width and decimals kept
  kString,  // text: the value
  kBlanks,  // text: the number of blanks
  kArray,   // text: the number of NIL elements ("0": an empty array)
};

struct VarInit {
  const char* name;
  Init init;
  const char* text = "";
};

Value InitialValue(const VarInit& v) {
  switch (v.init) {
    case Init::kFalse:
      return false;
    case Init::kTrue:
      return true;
    case Init::kNil:
      return Value();
    case Init::kNumber:
      if (v.text[0] == '-') return rt::Negate(rt::LiteralNumber(v.text + 1));
      return rt::LiteralNumber(v.text);
    case Init::kString:
      return std::string(v.text);
    case Init::kBlanks:
      return std::string(std::stoul(v.text), ' ');
    case Init::kArray:
      return Value::Array(std::vector<Value>(std::stoul(v.text)));
  }
  return Value();
}

void Create(rt::Session& session, std::span<const VarInit> table) {
  for (const VarInit& v : table) session.DeclarePublic(v.name) = InitialValue(v);
}

constexpr VarInit kFirstGroups[] = {
    {"OWNDMAIN", Init::kFalse},
    {"XXDQUICK", Init::kFalse},
    {"AVIEW1", Init::kArray, "0"},
    {"NAVIEWPNTR", Init::kNumber, "1"},
    {"AVIEWMAX", Init::kNumber, "4000"},
    {"DEBUGGER", Init::kTrue},
    {"NOMOREPASS", Init::kString},
    {"CONREADY", Init::kTrue},
    {"ASCRSEL", Init::kArray, "0"},
    {"NSCRSTACK", Init::kNumber, "0"},
    {"HDC", Init::kFalse},
    {"OCONTINUE", Init::kFalse},
    {"OKANCEL", Init::kFalse},
    {"OREINDEX", Init::kNil},
    {"LCANCEL", Init::kFalse},
    {"NBCANCEL", Init::kNumber, "0"},
    {"NECANCEL", Init::kNumber, "0"},
    {"AVIEW", Init::kNil},
    {"APRINT", Init::kNil},
    {"PRROW", Init::kNil},
    {"AVIEWFILE", Init::kFalse},
    {"BTITLE", Init::kFalse},
    {"BLOAD", Init::kFalse},
    {"BUPDATE", Init::kFalse},
    {"BREFRESH", Init::kNil},
    {"BSWITCH", Init::kNil},
    {"HCTRL", Init::kNumber, "0"},
    {"HHCTRL", Init::kFalse},
    {"OCONTGET", Init::kFalse},
    {"XCANCEL", Init::kFalse},
};

// The variables other routines read (besides those created elsewhere).
// XXVDEAD is a number: the lock note multiplies by it, and false would make
// that note fail. XXVCOID, the bare company code, starts empty like XXCO.
constexpr VarInit kSettings[] = {
    {"XXVSHARE", Init::kNumber, "1"},   {"XXVKEY", Init::kString, " "},
    {"DO_PROC", Init::kString},         {"XXCO", Init::kString},
    {"XXVCO", Init::kString, "Z"},      {"XXVCOID", Init::kString},
    {"XXVTERMNO", Init::kString, "1"},  {"XXVDEAD", Init::kNumber, "1"},
    {"XXVSTATUS", Init::kBlanks, "13"}, {"XXVREADIT", Init::kTrue},
    {"XXVHELP", Init::kFalse},
};

// Declared without a value: false.
constexpr const char* kDeclared[] = {
    "XXV132",     "FAX_ON",     "CLICK",      "FAXFILE",     "FAXPHONE",    "FAXMESS",
    "DOC_SIZE",   "DOC_LEN",    "XXVCALL",    "FROM_SCRSEL", "FROM_OPTSEL", "NO_HOTKEY",
    "AMSPOS",     "FROM_PSSO",  "QF1",        "QF2",         "QF3",         "QF4",
    "QF5",        "QF6",        "QF7",        "QF8",         "QF9",         "QF10",
    "SCRRECSAVE", "FAX_RES",    "FAXSENDTO",  "COSTCNTR",    "STOPSAV",     "SLEFTSAV",
    "SBOTTOMSAV", "SRIGHTSAV",  "XXMENUONLY", "CURROW",      "CURCOL",      "CURSORON",
    "CLEARSTAT",  "XXGRAB",     "XXVHEADING", "XXVDOC",      "XXVBK",       "XXVFLPYSZ",
    "XXVCR",      "XXVBEEP",    "XXVTERMNOS", "XXVYTD",      "XXVFICA",     "XXVFICACUT",
    "XXVMED",     "XXVMEDCUT",  "XXV6H",      "XXVRED",      "XXVBLACK",    "XXVPEN",
    "XXVTALK",    "XXVTALKCOM", "XXVREPORT",  "XXVMODEM",    "XXVMNU_1ST",  "XXVBACKUP",
    "XXCDIMCOL",  "XXCFLSCOL",  "XXCNRMCOL",  "XXCREVCOL",   "XXCUNDCOL",   "XXCBLACK",
    "XXCWHITE",   "XXCGREY",    "XXCBLUE",    "XXCYELLOW",   "XXVPAR1",     "XXVPAR3",
    "XXVPAR4",    "XXVPAR5",    "XXVPAR6",    "XXVPAR7",     "XXVPAR8",     "XXVDRWTYPE",
};

constexpr VarInit kAssigned[] = {
    {"SCRON", Init::kFalse},
    {"XXV40COL", Init::kFalse},
    {"XXVCLOCK", Init::kFalse},
    {"SPECIFIC_HELP", Init::kFalse},
    {"SHOWTIME", Init::kFalse},
    {"WEDGE_ON", Init::kFalse},
    {"XXSCRSEL", Init::kFalse},
    {"XXSCR_UP", Init::kFalse},
    {"XXVALTP", Init::kFalse},
    {"ADDLOC", Init::kFalse},
    {"XXNO_PASS", Init::kFalse},
    {"EXITONENTER", Init::kTrue},
    {"XXVAUTOME", Init::kTrue},
    {"XXVNEWZIP1", Init::kNumber, "0"},
    {"XXVNEWZIP2", Init::kNumber, "0"},
    {"TIMEA", Init::kNumber, "0"},
    {"TIMEB", Init::kNumber, "0"},
    {"XXCLICK", Init::kNumber, "0"},
    {"COLXXX", Init::kNumber, "1"},
    {"XXVTRM", Init::kNumber, "1"},
    {"XXNCO", Init::kNumber, "1"},
    {"XXVCURRPR", Init::kNumber, "-1"},
    {"XXCALC_NUM", Init::kNumber, "0.00"},
    {"XXVMENUREC", Init::kNumber, "0"},
    {"XXV80", Init::kString},
    {"OPTPREV", Init::kString},
    {"KXSTR", Init::kString},
    {"XXSETKEY", Init::kString},
    {"XXVHOTKEYS", Init::kString},
    {"XXVPROCDBG", Init::kString},
    {"XXVAPURGE", Init::kString},
    {"XXV40ON", Init::kString},
    {"XXV40OFF", Init::kString},
    {"XXVFORM66", Init::kString},
    {"XXVFORM51", Init::kString},
    {"XXVFORMJIF", Init::kString},
    {"XXVNLQOFF", Init::kString},
    {"XXVNLQON", Init::kString},
    {"XXVMENU", Init::kString},
    {"FILTER_ON2", Init::kBlanks, "20"},
    {"FILTER_ONS", Init::kBlanks, "20"},
    {"XXVLASER", Init::kString, "N"},
    {"XTERMNO", Init::kString, "1"},
    {"XXVPAR2", Init::kString, "1"},
    {"XXVPAR9", Init::kString, "Y"},
    {"XXPFLAG", Init::kString, "A"},
    {"XXNEWMENU", Init::kString, "M"},
    {"XCOMP", Init::kString, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
    {"CLICK_STACK", Init::kArray, "0"},
    {"LINE_STACK", Init::kArray, "0"},
    {"XXVMACRO", Init::kArray, "20"},
};

Value ThreeZeros() {
  return Value::Array({rt::LiteralNumber("0"), rt::LiteralNumber("0"), rt::LiteralNumber("0")});
}

}  // namespace

std::string EnvText(const EnvLookup& getenv, const char* name) {
  const char* value = getenv ? getenv(name) : nullptr;
  return value != nullptr ? std::string(value) : std::string();
}

void CreateFirstVariables(rt::Session& session) { Create(session, kFirstGroups); }

void CreateRemainingVariables(rt::Session& session, const EnvLookup& getenv) {
  Create(session, kSettings);
  for (const char* name : kDeclared) session.DeclarePublic(name) = false;
  Create(session, kAssigned);
  // Each its own array: code in data may change one without the other.
  session.DeclarePublic("AMS") = ThreeZeros();
  session.DeclarePublic("AMSAVE") = ThreeZeros();
  const rt::Date today = session.clock().Today();
  session.DeclarePublic("XXVMDATE") = today;
  session.DeclarePublic("XXVMDAY") = std::string(rt::DayName(today));
  const Value* share = session.Find("XXVSHARE");
  if (share != nullptr && share->IsNumber() && share->num() == 1) {
    session.DeclarePublic("XXVMLTUSR") = rt::Upper(EnvText(getenv, "MULTIUSER"));
  } else {
    session.DeclarePublic("XXVMLTUSR") = std::string();
  }
}

void SetTimeAndCommandState(rt::Session& session) {
  session.DeclarePublic("XXTIME") = Value::Int(session.clock().SecondsOfDay());
  session.DeclarePublic("XXNO_PASS") = false;
  session.DeclarePublic("DO_PROC") = std::string();
  session.DeclarePublic("XXCLICK") = rt::LiteralNumber("0");
}

void SetMenuState(rt::Session& session) {
  session.DeclarePublic("XXPFLAG") = "A";
  session.DeclarePublic("XXCO") = std::string();
  session.DeclarePublic("XXVMENU") = std::string();
  session.DeclarePublic("XXVMENUREC") = rt::LiteralNumber("0");
  session.DeclarePublic("XXNEWMENU") = "M";
}

}  // namespace qv::shell
