# Sources of the CDX index code, relative to src/platform/rdd.
set(QV_CDX_SOURCES
  cdx/cdx_bag.cpp
  cdx/cdx_bag_build.cpp
  cdx/cdx_builder.cpp
  cdx/cdx_check.cpp
  cdx/cdx_cursor.cpp
  cdx/cdx_key.cpp
  cdx/cdx_key_sort.cpp
  cdx/cdx_node.cpp
  cdx/cdx_pager.cpp
  cdx/cdx_tag.cpp
  cdx/cdx_tag_header.cpp
  cdx/cdx_tree.cpp
  cdx/cdx_tree_remove.cpp)
