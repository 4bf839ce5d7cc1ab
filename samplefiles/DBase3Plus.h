#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <sys/stat.h>
#include <sys/types.h>
#include <vector>

/// One field descriptor, the 32 bytes exactly as stored. Only the length is used to lay
/// out records; the rest is there for whoever wants to show it.
struct TFieldDescriptor {
    std::array<std::uint8_t, 32> Bytes{};

    /// Bytes 0-10 up to the first 0x00.
    QString Name() const;
    char Type() const { return static_cast<char>(Bytes[11]); }
    std::uint8_t Length() const { return Bytes[16]; }
};

/// The current record's field values as text, numbered from 1 like the fields: [1] is the
/// first field. Numbers outside 1..70 throw std::out_of_range.
class TFieldValues {
public:
    static constexpr int Capacity = 70;

    QString& operator[](int field);
    const QString& operator[](int field) const;

private:
    std::array<QString, Capacity> values_;
};

/// Which file an open table holds, independent of the path it was named by.
struct TFileIdentity {
    dev_t Device = 0;
    ino_t Inode = 0;
    bool operator==(const TFileIdentity&) const = default;
};

/// Record-by-record access to one dBase III Plus table. Values travel as text; the caller
/// converts. While open, the file is held with an exclusive lock, so a second opener (another
/// copy of the program or another instance here) is refused with "File access denied"
/// instead of two writers interleaving; readers that take no lock are not hindered.
class TDBase3Plus : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)

public:
    static constexpr int MaxFields = TFieldValues::Capacity;
    /// A table without the two value fields is refused as damaged.
    static constexpr std::size_t MinFields = 2;

    explicit TDBase3Plus(QObject* owner = nullptr);
    ~TDBase3Plus() override;

    /// Only stored: an open table stays on its old file until the next Close or Open.
    QString FileName() const { return fileName_; }
    void SetFileName(const QString& name) { fileName_ = name; }
    bool Active() const { return active_; }

    /// Closing a table that is not open is "I/O error 103"; callers check Active first.
    virtual void Close();
    /// Opens FileName (closing first when open; found whatever its letter case, as
    /// ResolverNombreTabla finds it) and reads record 0. A missing, short, locked or damaged
    /// file, or one that is not a regular file, raises and leaves the table closed with empty
    /// Values.
    virtual void Open();
    virtual void WriteRecord(std::int32_t n);
    virtual void ReadRecord(std::int32_t n);
    /// Adds one blank record at the end and makes it current. As AppendRecord, the record is
    /// written before the count that claims it.
    virtual void Append();
    /// Adds Values as one record at the end: the record first, then the count that claims it,
    /// so a table cut short between the two still holds whole records only. RecNo is the new
    /// record. A failure puts the file back as it was.
    void AppendRecord();
    /// Returns once what was written to the table has reached the disk.
    void Flush();
    void First();
    /// Does not stop at the end: on the last record it fails, so loops bound themselves by
    /// RecordCount.
    void Next();

    std::int32_t RecNo() const { return recNo_; }
    std::int32_t RecordCount() const;
    std::uint8_t Version() const { return header_[0]; }
    /// Year - 1900, month, day of the last update, as read; never changed here.
    std::array<std::uint8_t, 3> UpdateDate() const { return {header_[1], header_[2], header_[3]}; }
    std::uint16_t HeaderLength() const;
    std::uint16_t RecordLength() const;
    std::uint8_t FieldCount() const { return static_cast<std::uint8_t>(fields_.size()); }
    /// Descriptor of field `i`, numbered from 1; throws std::out_of_range past FieldCount.
    const TFieldDescriptor& Fields(int i) const;

    /// The device and inode of the open file; empty when closed.
    std::optional<TFileIdentity> OpenFileIdentity() const;
    /// What the system says of the open file now; empty when closed.
    std::optional<struct stat> OpenFileStatus() const;

    TFieldValues Values;

private:
    void ComprobarAbierta() const;
    void ComprobarEstructura() const;
    std::int64_t PosicionRegistro(std::int32_t n) const;
    /// Reads record `n` and, in the same read, the records after it up to the table's count
    /// (within a bound), so a walk through the table reads the file once.
    void LeerDesde(std::int32_t n);
    /// Record `n` as last read ahead, or null when it was not.
    std::uint8_t* Leido(std::int32_t n);
    void Descomponer(const std::uint8_t* record);
    void Soltar() noexcept;
    /// Puts back what a failed Append changed: the header, the bytes it overwrote at
    /// `posicion`, the file's length.
    void Restaurar(const std::array<std::uint8_t, 32>& header, std::int64_t posicion,
                   const std::vector<std::uint8_t>& cola, std::int64_t longitud) noexcept;

    QString fileName_;
    bool active_ = false;
    int fd_ = -1;
    std::vector<std::uint8_t> recordBuffer_;
    /// Whole records from `primeroLeido_` on, as the last read found them and as this table
    /// has written them since.
    std::vector<std::uint8_t> leidos_;
    std::int32_t primeroLeido_ = 0;
    std::int32_t recNo_ = 0;
    std::array<std::uint8_t, 32> header_{};
    std::vector<TFieldDescriptor> fields_;
};
