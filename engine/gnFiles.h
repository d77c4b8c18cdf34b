// Files written whole: the new bytes go to a temporary file beside the old one, which is then
// renamed over it, so that a reader, a crash or a full disk leaves the old bytes or the new,
// never a torn file. Used for the highscore table and the print hand-over.
#pragma once

#include <cstddef>

// Replaces the file at path with the bytes; true when all of them reached the disk. The
// temporary file "<path>.new" is created exclusively and never through a link (a stale one is
// removed first). On failure (disk full, the file-size limit, no permission, path a directory)
// the old file stays as it was and no temporary file is left.
bool gnReplaceFile(const char* path, const void* bytes, size_t size);
