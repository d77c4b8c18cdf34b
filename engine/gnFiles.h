// Files read and written whole, for the game and its tools. A file is replaced through a
// temporary file of the writer's own beside it, flushed, renamed over it, and the folder
// flushed: a reader, a crash, a power cut, a full disk or a second writer leaves the old bytes
// or the new, never a torn file. Files are read only when they are regular files: a pipe or a
// device in a file's place is refused at once instead of blocking.
#pragma once

#include <cstddef>
#include <string>

// Replaces the file at path with the bytes; true when all of them reached the disk. The
// temporary file is hidden beside it (".<name>.<process>.<n>.tmp"), created exclusively and
// never through a link, and never another writer's. A replaced file keeps its permissions
// and, for a writer that may give it away (root), its owner. On failure (disk full, the
// file-size limit, no permission, the folder missing or a file) the old file stays as it was
// and no temporary file is left.
bool gnReplaceFile(const char* path, const void* bytes, size_t size);

// Opens a regular file for reading without blocking on what stands in its place; the
// descriptor, or -1 with why: strerror's words and errno as open set it, or, with errno
// EINVAL, "it is a folder" or "it is not a regular file".
int gnOpenRegular(const char* path, std::string& why);
// Reads a whole regular file of at most maxBytes; false with why.
bool gnReadFile(const char* path, size_t maxBytes, std::string& bytes, std::string& why);
