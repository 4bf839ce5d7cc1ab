#include "PortOpenError.h"

#include <cerrno>
#include <cstring>

std::string RazonDelSistema(int error) {
    // The codes that opening a device, claiming a port or asking for port I/O can give.
    switch (error) {
    case ENOENT:
        return "no existe";
    case EACCES:
        return "permiso denegado";
    case EPERM:
        return "operación no permitida";
    case ENODEV:
        return "no existe tal dispositivo";
    case ENXIO:
        return "no existe el dispositivo o la dirección";
    case EBUSY:
        return "el dispositivo está ocupado";
    case ENOTTY:
        return "no es un puerto paralelo";
    case EISDIR:
        return "es una carpeta";
    case ENOTDIR:
        return "una parte de la ruta no es una carpeta";
    case ELOOP:
        return "demasiados enlaces simbólicos";
    case ENAMETOOLONG:
        return "el nombre es demasiado largo";
    case EROFS:
        return "el sistema de ficheros es de solo lectura";
    case EIO:
        return "error de entrada/salida";
    case EINVAL:
        return "argumento no válido";
    case EMFILE:
    case ENFILE:
        return "hay demasiados ficheros abiertos";
    case ENOMEM:
        return "no queda memoria";
    case EINTR:
        return "llamada interrumpida";
    case ETIMEDOUT:
        return "se agotó el tiempo de espera";
    default:
        // Rare enough that the system's own words, with the code, serve better than none.
        return "error del sistema " + std::to_string(error) + " (" + std::strerror(error) + ")";
    }
}
