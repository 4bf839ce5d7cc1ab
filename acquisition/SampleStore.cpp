#include "SampleStore.h"

bool AvanzarContador(SampleStore& store) {
    if (store.Contador >= LimiteMuestras) {
        store.Contador = LimiteMuestras;
        return false;
    }
    ++store.Contador;
    return true;
}

void GuardarLectura(Serie& serie, std::int32_t slot, std::int32_t lectura) {
    serie[static_cast<std::size_t>(slot)] = lectura;
    if (lectura > serie[0]) {
        serie[0] = lectura;
    }
    if (lectura < serie[1]) {
        serie[1] = lectura;
    }
}
