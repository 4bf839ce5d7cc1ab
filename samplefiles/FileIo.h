#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

// Positioned transfers of an exact byte count, failing with the runtime's codes: a read that
// meets the end of the file is "Read beyond end of file", a write the file system cannot take
// whole is "Disk full", a position before the start of the file is a negative seek.

void LeerExacto(int fd, std::int64_t offset, void* data, std::size_t size);
void EscribirExacto(int fd, std::int64_t offset, const void* data, std::size_t size);

/// Takes the exclusive advisory lock of a table file without waiting: held elsewhere, it is
/// "File access denied". On a file system without locks the file is used unguarded.
void BloquearExclusivo(int fd);

/// Opens the table file `name` (resolved as ResolverNombreTabla does) with `flags` and returns
/// the descriptor. Only a regular file is a table: a FIFO, socket, device or directory is
/// "File access denied", found before and checked again after a non-blocking open, so no
/// table operation ever waits on one.
int AbrirFicheroTabla(const QString& name, int flags, mode_t mode = 0);

/// Deletes the table file `name` (resolved likewise) and returns 0, or the runtime's code of
/// the failure; anything but a regular file is refused as "File access denied".
int EliminarFicheroTabla(const QString& name);
