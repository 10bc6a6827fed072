// The table engine: DBF tables with DBT memos, work areas, locks and bulk
// operations. Start here; each header below states its own contracts.
//   workspace.h  numbered work areas, aliases, default path, opening tables
//   work_area.h  moves, fields, append/delete, filter, locate, eval, seek
//   table.h      one open table: records, memos, locks, commit, zap
//   pack.h       crash-safe pack and its recovery
//   bulk.h       copy, append from, copy structure (extended), DBSTRUCT
//   order.h      the seam to index bags (orders navigated by a work area)
//   orders.h     a work area's order list, focus and key position
//   cdx_order_bag.h  CDX bags behind the seam (the workspace's bag opener)
//   check.h      verifying a table (xbtool check)
//   table_json.h tables as JSON (xbtool dump and create)
//   table_access.h  the expression evaluator's view of the work areas
//   dbf_format.h, dbt_format.h  the file layouts
#pragma once

#include "platform/rdd/bulk.h"
#include "platform/rdd/check.h"
#include "platform/rdd/dbf_format.h"
#include "platform/rdd/dbt_format.h"
#include "platform/rdd/cdx_order_bag.h"
#include "platform/rdd/order.h"
#include "platform/rdd/orders.h"
#include "platform/rdd/pack.h"
#include "platform/rdd/table.h"
#include "platform/rdd/table_access.h"
#include "platform/rdd/table_json.h"
#include "platform/rdd/work_area.h"
#include "platform/rdd/workspace.h"
