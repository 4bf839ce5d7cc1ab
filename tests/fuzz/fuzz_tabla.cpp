// Any bytes as a sample table: a start-up load, a save of one more reading and a reload. Each
// step works or raises one of the table's own errors; a save, finished or not, leaves a table
// that opens; a finished one loads as far as it rewrote; no run leaves a descriptor open.
#include "Fuzz.h"

#include "DBase3Plus.h"
#include "RuntimeErrors.h"
#include "SampleStore.h"
#include "TablaAlmacen.h"
#include "TableErrors.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

/// False when `paso` raised an error a damaged table may give; any other is a crash.
template <typename Paso> bool Intentar(Paso paso) {
    try {
        paso();
        return true;
    } catch (const EInOutError&) {
    } catch (const EConvertError&) {
    } catch (const EFieldTooLong&) {
    }
    return false;
}

int PrimerDescriptorLibre() {
    const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ::close(fd);
    return fd;
}

void Probar(const QString& ruta) {
    auto store = std::make_unique<SampleStore>();
    TDBase3Plus tabla;
    tabla.SetFileName(ruta);
    if (!Intentar([&] {
            tabla.Open();
            CargarTabla(tabla, *store);
        })) {
        return;
    }
    const std::int32_t reescritos = std::min(tabla.RecordCount() - 1, LimiteMuestras - 1);
    store->Contador = std::min(store->Contador + 1, LimiteMuestras);
    const bool guardada = Intentar([&] { EscribirAlmacen(tabla, *store); });
    try {
        tabla.Open(); // closes the table first
        if (guardada) {
            CargarTabla(tabla, *store);
        }
    } catch (const EInOutError&) {
        Fallo("a save left a table that no longer opens or loads");
    } catch (const EConvertError&) {
        // Records the save did not rewrite may hold anything.
        if (tabla.RecNo() < reescritos) {
            Fallo("a record the save wrote is no integer");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QTemporaryDir carpeta;
    QFile file(carpeta.filePath(QStringLiteral("MUESTRAS.DBF")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size)) {
        Fallo("cannot write the table file");
    }
    file.close();
    const int libre = PrimerDescriptorLibre();
    Probar(file.fileName());
    if (PrimerDescriptorLibre() != libre) {
        Fallo("a descriptor was left open");
    }
    return 0;
}
