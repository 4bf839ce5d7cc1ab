#pragma once

#include <cstddef>
#include <cstdint>

// Positioned transfers of an exact byte count, failing with the runtime's codes: a read that
// meets the end of the file is "Read beyond end of file", a write the file system cannot take
// whole is "Disk full", a position before the start of the file is a negative seek.

void LeerExacto(int fd, std::int64_t offset, void* data, std::size_t size);
void EscribirExacto(int fd, std::int64_t offset, const void* data, std::size_t size);

/// Takes the exclusive advisory lock of a table file without waiting: held elsewhere, it is
/// "File access denied". On a file system without locks the file is used unguarded.
void BloquearExclusivo(int fd);
