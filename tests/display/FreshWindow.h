#pragma once

#include "PlantillaMuestras.h"
#include "ScriptedSeams.h"
#include "TForm1.h"
#include "ui_TForm1.h"

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <memory>

/// A window in a folder of its own with a fresh default table, activated as the program does;
/// StartFresh gives the errors the start-up reported.
class FreshWindow {
protected:
    QStringList StartFresh() {
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
        folder = std::make_unique<QTemporaryDir>();
        if (!QDir::setCurrent(folder->path())) {
            return {QStringLiteral("no folder of its own")};
        }
        EscribirPlantilla("MUESTRAS.DBF");
        seams = std::make_unique<TestSeams>();
        form = std::make_unique<TForm1>(seams->seams());
        form->FormActivate();
        return seams->errors.reports;
    }

    void Finish() {
        form.reset();
        seams.reset();
        QDir::setCurrent(QDir::tempPath());
        folder.reset();
    }

    Ui::TForm1& ui() { return form->ui(); }

    /// The sampling page's buttons and boxes after the rate, in the window's order.
    static QStringList ControlesDeMuestreo() {
        return {"Inicio",        "Pausa", "Salir", "Edit1",  "Edit2",  "Portapapeles",
                "Portapapeles2", "Edit3", "Edit4", "Sonido", "Sonido2"};
    }

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<TestSeams> seams;
    std::unique_ptr<TForm1> form;
};
