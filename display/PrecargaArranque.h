#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

/// Start-up work that needs no window, done on a thread of its own while the window thread
/// sets up the application and builds the form: reading the font configuration, listing the
/// installed fonts and loading the image format plugins. Qt's font database and plugin loader
/// are thread-safe, so whichever thread asks first does the work and the other finds it done.
class PrecargaArranque {
public:
    /// Starts on the font configuration, which needs nothing from Qt.
    PrecargaArranque();
    /// Waits for the thread; what needs the application is skipped if it never came.
    ~PrecargaArranque();

    PrecargaArranque(const PrecargaArranque&) = delete;
    PrecargaArranque& operator=(const PrecargaArranque&) = delete;

    /// The application object exists: the font list and the plugins may be loaded.
    void AplicacionCreada();
    /// Called before the first text is measured or shown: until the configuration is read,
    /// the window thread would read it a second time instead of waiting for it.
    void EsperarConfiguracion();
    /// Waits for all of it; called before the application object goes away.
    void Esperar();

private:
    void Trabajar();

    std::mutex mutex_;
    std::condition_variable cambio_;
    bool configuracionLeida_ = false;
    bool aplicacionCreada_ = false;
    bool abandonada_ = false;
    std::thread hilo_;
};
