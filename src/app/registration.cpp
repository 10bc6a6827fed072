#include "app/registration.h"

#include "company/procedures.h"
#include "shell/messages/procedures.h"
#include "tables/procedures.h"
#include "ui/procedures.h"

namespace qv::app {

std::shared_ptr<shell::ShellState> RegisterAllProcedures(tables::Context& ctx,
                                                         shell::StartupOptions options) {
  ui::RegisterUiProcedures(ctx.session().procedures(), ctx.gui());
  tables::RegisterTableProcedures(ctx);
  company::RegisterCompanyProcedures(ctx);
  shell::RegisterMessageProcedures(ctx);
  return shell::RegisterStartupProcedures(ctx, std::move(options));
}

}  // namespace qv::app
