#include "PrecargaArranque.h"

#include <QFontDatabase>
#include <QImageReader>
#include <QStringList>

#include <fontconfig/fontconfig.h>

PrecargaArranque::PrecargaArranque() : hilo_([this] { Trabajar(); }) {}

PrecargaArranque::~PrecargaArranque() {
    {
        const std::lock_guard lock(mutex_);
        abandonada_ = true;
    }
    cambio_.notify_all();
    Esperar();
}

void PrecargaArranque::Esperar() {
    if (hilo_.joinable()) {
        hilo_.join();
    }
}

void PrecargaArranque::AplicacionCreada() {
    {
        const std::lock_guard lock(mutex_);
        aplicacionCreada_ = true;
    }
    cambio_.notify_all();
}

void PrecargaArranque::EsperarConfiguracion() {
    std::unique_lock lock(mutex_);
    cambio_.wait(lock, [this] { return configuracionLeida_; });
}

void PrecargaArranque::Trabajar() {
    // The configuration is the single largest piece of a start: dozens of XML files. Qt's
    // own start-up finds it loaded and goes on.
    FcInit();
    {
        std::unique_lock lock(mutex_);
        configuracionLeida_ = true;
        cambio_.notify_all();
        cambio_.wait(lock, [this] { return aplicacionCreada_ || abandonada_; });
        if (abandonada_) {
            return;
        }
    }
    QFontDatabase::families();
    // Asking for the formats loads every image plugin, which the form's first icon would
    // otherwise do on the window thread: Qt asks each plugin about every image it reads.
    QImageReader::supportedImageFormats();
}
