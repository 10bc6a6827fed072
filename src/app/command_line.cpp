#include "app/command_line.h"

namespace qv::app {

namespace {

// "--option FILE" or "--option=FILE" at args[*i] into *slot (once);
// advances past it.
Status TakeFile(const std::vector<std::string>& args, size_t* i, const std::string& option,
                std::string* slot) {
  if (!slot->empty()) return Status::InvalidArgument(option + " given twice");
  const std::string& arg = args[*i];
  if (arg.size() > option.size()) {
    *slot = arg.substr(option.size() + 1);
  } else if (*i + 1 < args.size()) {
    *slot = args[++*i];
  }
  return slot->empty() ? Status::InvalidArgument(option + " needs a FILE") : Status::OK();
}

bool IsOption(const std::string& arg, const std::string& option) {
  return arg == option || arg.rfind(option + "=", 0) == 0;
}

}  // namespace

Result<CommandLine> ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      line.help = true;
    } else if (arg == "--headless") {
      line.headless = true;
    } else if (IsOption(arg, "--script")) {
      if (Status s = TakeFile(args, &i, "--script", &line.script_file); !s.ok()) return s;
      line.headless = true;
    } else if (IsOption(arg, "--transcript")) {
      if (Status s = TakeFile(args, &i, "--transcript", &line.transcript_file); !s.ok()) return s;
    } else if (arg.rfind("-", 0) == 0) {
      return Status::InvalidArgument("unknown option " + arg);
    } else {
      return Status::InvalidArgument("unexpected argument " + arg);
    }
  }
  if (!line.help && !line.transcript_file.empty() && !line.headless) {
    return Status::InvalidArgument("--transcript needs --headless or --script");
  }
  return line;
}

std::string UsageText() {
  return R"(usage: quorvanta-setup [--headless | --script FILE] [--transcript FILE]
       quorvanta-setup --help

Starts the Quorvanta setup utility in the current folder, which holds the
menu table (menuset.dbf) of the installation media.

  (no option)        windows on the display (Qt)
  --headless         no windows: script lines from standard input; without
                     input the program starts, builds its menu and ends
  --script FILE      no windows: script lines from FILE
  --transcript FILE  the headless transcript goes to FILE (default: standard output)
  --help             this text

Script lines (blank lines and lines starting with # are ignored):
  choose CAPTION>CAPTION...    choose the menu item reached through these captions
  answer WORD [TEXT]           queue an answer for the next dialog that takes one:
                               yes, no, ok, cancel, esc, close, button N, value TEXT,
                               drive X, folder TEXT, shortcut on|off, select N,N...,
                               retry, default, quit
  set NAME EXPR                assign the xBase expression's value to the public NAME
  eval EXPR                    evaluate the expression; the value goes to the transcript
  press cancel after N         the Nth processing of pending messages while a cancel
                               dialog or meter is shown presses its Cancel
  key esc|enter down|up        the key state the program reads
  notes instant|real           timed notes return at once / take their seconds
  close                        close the main window

Exit codes:
  1, or 0 after the orderly exit   the program ended (its window closed, or the
                                   script or standard input ran out)
  0   --help
  2   a bad option or drive map, a script line that cannot be understood, a
      choose naming no item, an eval or set expression that does not compile,
      an answer that does not fit its dialog
  3   100 default answers in a row to dialogs of the same kind and title

Environment: QUORVANTA_DRIVES (drive map, e.g. C=/srv/pos/c;D=/media/cd),
QUORVANTA_TODAY (YYYY-MM-DD[THH:MM:SS]), QUORVANTA_WINDIR, QUORVANTA_PRINT_PDF
(a folder: print jobs become PDF files), QUORVANTA_PRINTER (none: no
printer), MULTIUSER, server.
)";
}

}  // namespace qv::app
