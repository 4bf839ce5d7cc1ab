#pragma once

#include "BaseComponent.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>

class QDataStream;
class TCustomFileStorage;

using TFileStorageOnFileOperation =
    std::function<void(TCustomFileStorage* sender, bool successful)>;
using TFileStorageOnConfirmOverride =
    std::function<void(TCustomFileStorage* sender, bool& overrideFile)>;

/// A component owning one block of binary data, which it loads from and saves to files and
/// keeps in its form description as the "FileData" record: a 4-byte little-endian byte
/// count, then the bytes. The block's length always equals DataSize().
///
/// The members a user of the storage does not always want (automatic save, the save name
/// and the three events) are protected here; TFileStorage publishes them.
class TCustomFileStorage : public TBaseComponent {
public:
    TCustomFileStorage() = default;
    ~TCustomFileStorage() override = default;

    /// Replaces the block with the whole file. False, with the block empty, when no file of
    /// that name exists. Throws EFileStorage when the file exists but cannot be read.
    /// OnLoad hears the result in every case.
    virtual bool LoadFromFile(const QString& name);
    /// Writes the block to the file, creating or truncating it. False when OnConfirmOverride
    /// declines to replace an existing file. Throws EFileStorage when the file cannot be
    /// written. OnSave hears the result in every case.
    virtual bool SaveToFile(const QString& name);
    bool LoadFromFileName() { return LoadFromFile(FileName()); }
    bool SaveToSaveName() { return SaveToFile(SaveName()); }

    /// The "FileData" record, little-endian whatever the stream's byte order.
    virtual void WriteFileData(QDataStream& stream) const;
    /// Reads a "FileData" record; a count of 0 or below leaves the block empty. Throws
    /// EReadError, with the block empty, when the stream ends early.
    virtual void ReadFileData(QDataStream& stream);

    virtual std::uint32_t DataSize() const { return static_cast<std::uint32_t>(data_.size()); }
    /// The size follows the data; assigning it does nothing.
    virtual void SetDataSize(std::uint32_t) {}
    const QByteArray& Data() const { return data_; }

    const QString& FileName() const { return fileName_; }
    virtual void SetFileName(const QString& name);

    virtual void Clear();

    QStringList StoredProperties() const override { return {QStringLiteral("FileData")}; }
    /// Saves to SaveName() when AutoSave() is on, except in a form designer.
    void Loaded() override;

protected:
    bool AutoSave() const { return autoSave_; }
    virtual void SetAutoSave(bool autoSave) { autoSave_ = autoSave; }
    const QString& SaveName() const { return saveName_; }
    void SetSaveName(const QString& name) { saveName_ = name; }

    TFileStorageOnFileOperation OnLoad;
    TFileStorageOnFileOperation OnSave;
    TFileStorageOnConfirmOverride OnConfirmOverride;

private:
    bool autoSave_ = false;
    QString fileName_;
    QString saveName_;
    QByteArray data_;
};

/// The storage with all its members public.
class TFileStorage : public TCustomFileStorage {
public:
    using TCustomFileStorage::AutoSave;
    using TCustomFileStorage::OnConfirmOverride;
    using TCustomFileStorage::OnLoad;
    using TCustomFileStorage::OnSave;
    using TCustomFileStorage::SaveName;
    using TCustomFileStorage::SetAutoSave;
    using TCustomFileStorage::SetSaveName;
};
