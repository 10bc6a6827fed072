# Sources of the CDX index code, relative to src/platform/rdd.
set(QV_CDX_SOURCES)
