#pragma once

#include <QString>
#include <QStringList>

/// Root of the program's non-visual components: a name, the design flag and the two hooks
/// of the form description (which properties it stores, and the end of loading).
class TBaseComponent {
public:
    TBaseComponent() = default;
    virtual ~TBaseComponent() = default;
    TBaseComponent(const TBaseComponent&) = delete;
    TBaseComponent& operator=(const TBaseComponent&) = delete;

    const QString& Name() const { return name_; }
    void SetName(const QString& name) { name_ = name; }

    /// Free text about the component; never stored and without effect.
    const QString& About() const { return about_; }
    void SetAbout(const QString& about) { about_ = about; }

    /// True only while the component is edited in a form designer. The running program
    /// never sets it.
    bool Designing() const { return designing_; }
    void SetDesigning(bool designing) { designing_ = designing; }

    /// The properties a form description would store for this component, in stored order.
    virtual QStringList StoredProperties() const { return {}; }

    /// Called once the owner's form description has been read in full.
    virtual void Loaded() {}

private:
    QString name_;
    QString about_;
    bool designing_ = false;
};
