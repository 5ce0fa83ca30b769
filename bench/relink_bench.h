#pragma once
// `listora-bench relink`: repairing a playlist of 1,000,000 entries, 100,000
// of them missing, against a tree of 1,000,000 files in 100,000 folders,
// beside `find TREE -type f` on the same tree, warm; the index's peak memory
// per file; similar names for 10,000 renamed files; a folder replaced in
// 1,000,000 rows; and the repair window's search until its list has painted.
// LISTORA_RELINK_BENCH_FOLDERS makes the tree smaller (ten files a folder).

namespace bench {

int runRelinkBench();

}  // namespace bench
