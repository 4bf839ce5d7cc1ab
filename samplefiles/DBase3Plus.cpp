#include "DBase3Plus.h"

#include "FileIo.h"
#include "RuntimeErrors.h"
#include "TableErrors.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::uint8_t kFinDescriptores = 0x0D;
constexpr std::size_t kBloque = 32;
// Most a read ahead brings in at once; a full sample table is far less.
constexpr std::int64_t kLecturaMaxima = 256 * 1024;

std::uint16_t Palabra(const std::array<std::uint8_t, 32>& h, std::size_t at) {
    return static_cast<std::uint16_t>(h[at] | (h[at + 1] << 8));
}

std::int32_t Entero(const std::array<std::uint8_t, 32>& h, std::size_t at) {
    const std::uint32_t v = static_cast<std::uint32_t>(h[at]) |
                            (static_cast<std::uint32_t>(h[at + 1]) << 8) |
                            (static_cast<std::uint32_t>(h[at + 2]) << 16) |
                            (static_cast<std::uint32_t>(h[at + 3]) << 24);
    return static_cast<std::int32_t>(v);
}

void PonerEntero(std::array<std::uint8_t, 32>& h, std::size_t at, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        h[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

} // namespace

QString TFieldDescriptor::Name() const {
    const auto* begin = reinterpret_cast<const char*>(Bytes.data());
    return QString::fromLatin1(begin, static_cast<qsizetype>(::strnlen(begin, 11)));
}

QString& TFieldValues::operator[](int field) {
    if (field < 1 || field > Capacity) {
        throw std::out_of_range("field number out of range");
    }
    return values_[static_cast<std::size_t>(field - 1)];
}

const QString& TFieldValues::operator[](int field) const {
    if (field < 1 || field > Capacity) {
        throw std::out_of_range("field number out of range");
    }
    return values_[static_cast<std::size_t>(field - 1)];
}

TDBase3Plus::TDBase3Plus(QObject* owner) : QObject(owner) {}

TDBase3Plus::~TDBase3Plus() {
    if (active_) {
        // Nowhere to report a failing close from here; the descriptor is released anyway.
        try {
            TDBase3Plus::Close();
        } catch (...) {
        }
    }
}

std::int32_t TDBase3Plus::RecordCount() const {
    return Entero(header_, 4);
}
std::uint16_t TDBase3Plus::HeaderLength() const {
    return Palabra(header_, 8);
}
std::uint16_t TDBase3Plus::RecordLength() const {
    return Palabra(header_, 10);
}

const TFieldDescriptor& TDBase3Plus::Fields(int i) const {
    if (i < 1 || i > static_cast<int>(fields_.size())) {
        throw std::out_of_range("field number out of range");
    }
    return fields_[static_cast<std::size_t>(i - 1)];
}

std::optional<struct stat> TDBase3Plus::OpenFileStatus() const {
    struct stat st {};
    if (!active_ || ::fstat(fd_, &st) != 0) {
        return std::nullopt;
    }
    return st;
}

std::optional<TFileIdentity> TDBase3Plus::OpenFileIdentity() const {
    const auto st = OpenFileStatus();
    if (!st) {
        return std::nullopt;
    }
    return TFileIdentity{st->st_dev, st->st_ino};
}

void TDBase3Plus::ComprobarAbierta() const {
    if (!active_) {
        throw EInOutError(CodigoES::FileNotOpen);
    }
}

void TDBase3Plus::Soltar() noexcept {
    if (fd_ >= 0) {
        ::close(fd_); // releases the lock with the descriptor
    }
    fd_ = -1;
    active_ = false;
    recordBuffer_.clear();
    recordBuffer_.shrink_to_fit();
    leidos_.clear();
    leidos_.shrink_to_fit();
}

void TDBase3Plus::Close() {
    ComprobarAbierta();
    const int fd = fd_;
    fd_ = -1;
    Soltar();
    // Linux frees the descriptor even when close reports an error, so the table is closed
    // either way and the error is only passed on.
    if (::close(fd) != 0 && errno != EINTR) {
        LanzarErrno(errno);
    }
}

void TDBase3Plus::Open() {
    if (active_) {
        Close();
    }
    // Nothing of the previous table survives, whatever this one holds.
    Values = TFieldValues();
    fd_ = AbrirFicheroTabla(fileName_, O_RDWR);
    try {
        BloquearExclusivo(fd_);
        LeerExacto(fd_, 0, header_.data(), header_.size());
        fields_.clear();
        std::int64_t at = kBloque;
        for (;;) {
            TFieldDescriptor d;
            // The terminator's block is read whole, as every block is.
            LeerExacto(fd_, at, d.Bytes.data(), kBloque);
            at += kBloque;
            if (d.Bytes[0] == kFinDescriptores) {
                break;
            }
            if (fields_.size() == static_cast<std::size_t>(MaxFields)) {
                throw EDamagedTable(
                    fileName_, QStringLiteral("more than %1 field descriptors").arg(MaxFields));
            }
            fields_.push_back(d);
        }
        ComprobarEstructura();
        recordBuffer_.assign(RecordLength(), 0);
        active_ = true;
        ReadRecord(0);
    } catch (...) {
        header_ = {};
        fields_.clear();
        Soltar();
        throw;
    }
}

void TDBase3Plus::ComprobarEstructura() const {
    if (RecordLength() == 0) {
        throw EDamagedTable(fileName_, QStringLiteral("record length 0"));
    }
    // Callers read and write the first two values of every record.
    if (fields_.size() < MinFields) {
        throw EDamagedTable(fileName_, QStringLiteral("%1 field(s), fewer than the %2 of a "
                                                      "sample table")
                                           .arg(fields_.size())
                                           .arg(MinFields));
    }
    if (RecordCount() < 0) {
        throw EDamagedTable(fileName_, QStringLiteral("record count %1").arg(RecordCount()));
    }
    int total = 1; // the deletion flag
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i].Length() == 0) {
            throw EDamagedTable(
                fileName_,
                QStringLiteral("field %1 (%2) has length 0").arg(i + 1).arg(fields_[i].Name()));
        }
        total += fields_[i].Length();
    }
    if (total > RecordLength()) {
        throw EDamagedTable(fileName_, QStringLiteral("its fields need records of %1 bytes, not %2")
                                           .arg(total)
                                           .arg(RecordLength()));
    }
    const auto needed = static_cast<int>(kBloque + kBloque * fields_.size() + 1);
    if (HeaderLength() < needed) {
        throw EDamagedTable(fileName_,
                            QStringLiteral("header length %1 is shorter than its %2 field "
                                           "descriptors need (%3)")
                                .arg(HeaderLength())
                                .arg(fields_.size())
                                .arg(needed));
    }
}

std::int64_t TDBase3Plus::PosicionRegistro(std::int32_t n) const {
    return static_cast<std::int64_t>(n) * RecordLength() + HeaderLength();
}

void TDBase3Plus::LeerDesde(std::int32_t n) {
    leidos_.clear();
    const std::int64_t posicion = PosicionRegistro(n);
    if (posicion < 0) {
        throw EInOutError(CodigoES::NegativeSeek);
    }
    const std::int64_t longitud = RecordLength();
    const std::int64_t registros =
        std::clamp<std::int64_t>(RecordCount() - static_cast<std::int64_t>(n), 1,
                                 std::max<std::int64_t>(1, kLecturaMaxima / longitud));
    leidos_.resize(static_cast<std::size_t>(registros * longitud));
    std::size_t hay = 0;
    // A regular file only comes back short at its end or when a signal cuts the call.
    while (hay < leidos_.size()) {
        const ssize_t got = ::pread(fd_, leidos_.data() + hay, leidos_.size() - hay,
                                    static_cast<off_t>(posicion + static_cast<std::int64_t>(hay)));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int err = errno;
            leidos_.clear();
            LanzarErrno(err);
        }
        if (got == 0) {
            break;
        }
        hay += static_cast<std::size_t>(got);
    }
    // Only whole records count; a file that ends inside record n has none of it.
    primeroLeido_ = n;
    if (hay < static_cast<std::size_t>(longitud)) {
        std::memcpy(recordBuffer_.data(), leidos_.data(), hay);
        leidos_.clear();
        throw EInOutError(CodigoES::ReadBeyondEnd);
    }
    leidos_.resize(hay - hay % static_cast<std::size_t>(longitud));
}

std::uint8_t* TDBase3Plus::Leido(std::int32_t n) {
    const std::int64_t desde = static_cast<std::int64_t>(n) - primeroLeido_;
    if (desde < 0 || (desde + 1) * RecordLength() > static_cast<std::int64_t>(leidos_.size())) {
        return nullptr;
    }
    return leidos_.data() + desde * RecordLength();
}

void TDBase3Plus::Descomponer(const std::uint8_t* record) {
    // The record's bytes beyond its fields go back with it when it is written.
    std::memcpy(recordBuffer_.data(), record, recordBuffer_.size());
    std::size_t at = 1;
    for (std::size_t j = 0; j < fields_.size(); ++j) {
        const std::size_t len = fields_[j].Length();
        const std::uint8_t* bytes = recordBuffer_.data() + at;
        // A blank field keeps one space, so it never reads as an empty string.
        std::size_t keep = len;
        while (keep > 1 && bytes[keep - 1] == ' ') {
            --keep;
        }
        // Written in place, the value keeps its storage from one record to the next.
        QString& value = Values[static_cast<int>(j) + 1];
        value.resize(static_cast<qsizetype>(keep));
        QChar* out = value.data();
        for (std::size_t k = 0; k < keep; ++k) {
            out[k] = QChar(static_cast<char16_t>(bytes[k]));
        }
        at += len;
    }
}

void TDBase3Plus::ReadRecord(std::int32_t n) {
    ComprobarAbierta();
    recNo_ = n;
    LeerDesde(n);
    Descomponer(leidos_.data());
}

void TDBase3Plus::WriteRecord(std::int32_t n) {
    ComprobarAbierta();
    recNo_ = n;
    for (std::size_t j = 0; j < fields_.size(); ++j) {
        const QString& value = Values[static_cast<int>(j) + 1];
        if (value.size() > fields_[j].Length()) {
            throw EFieldTooLong(value, fields_[j].Name(), fields_[j].Length());
        }
    }
    recordBuffer_[0] = 0x20;
    std::size_t at = 1;
    for (std::size_t j = 0; j < fields_.size(); ++j) {
        const std::size_t len = fields_[j].Length();
        const QByteArray bytes = Values[static_cast<int>(j) + 1].toLatin1();
        std::memcpy(recordBuffer_.data() + at, bytes.constData(),
                    static_cast<std::size_t>(bytes.size()));
        std::memset(recordBuffer_.data() + at + bytes.size(), ' ',
                    len - static_cast<std::size_t>(bytes.size()));
        at += len;
    }
    try {
        EscribirExacto(fd_, PosicionRegistro(n), recordBuffer_.data(), recordBuffer_.size());
    } catch (...) {
        // What the file holds now is not known.
        leidos_.clear();
        throw;
    }
    if (std::uint8_t* leido = Leido(n)) {
        std::memcpy(leido, recordBuffer_.data(), recordBuffer_.size());
    }
}

void TDBase3Plus::Append() {
    ComprobarAbierta();
    for (int j = 1; j <= FieldCount(); ++j) {
        Values[j].clear();
    }
    AppendRecord();
    ReadRecord(RecordCount() - 1);
}

void TDBase3Plus::AppendRecord() {
    ComprobarAbierta();
    if (RecordCount() == std::numeric_limits<std::int32_t>::max()) {
        throw EInOutError(CodigoES::DiskFull);
    }
    // The end of the file changes, and may be put back.
    leidos_.clear();
    // What the append may change beyond the header: the file's length and the bytes it
    // already has where the new record goes (a trailing 0x1A).
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        LanzarErrno(errno);
    }
    const std::int32_t nuevo = RecordCount();
    const std::int64_t posicion = PosicionRegistro(nuevo);
    std::vector<std::uint8_t> cola(static_cast<std::size_t>(
        std::clamp<std::int64_t>(st.st_size - posicion, 0, RecordLength())));
    LeerExacto(fd_, posicion, cola.data(), cola.size());
    std::array<std::uint8_t, 32> header = header_;
    PonerEntero(header, 4, nuevo + 1);
    try {
        // A count is never on disk before the record it claims: killed in between, the
        // table still loads, and the record beyond its count is only unused bytes.
        WriteRecord(nuevo);
        EscribirExacto(fd_, 0, header.data(), header.size());
    } catch (...) {
        Restaurar(header_, posicion, cola, st.st_size);
        throw;
    }
    // The count in memory changes only once the file holds it.
    header_ = header;
}

void TDBase3Plus::Flush() {
    ComprobarAbierta();
    while (::fdatasync(fd_) != 0) {
        if (errno != EINTR) {
            LanzarErrno(errno);
        }
    }
}

void TDBase3Plus::Restaurar(const std::array<std::uint8_t, 32>& header, std::int64_t posicion,
                            const std::vector<std::uint8_t>& cola, std::int64_t longitud) noexcept {
    // Shrinking and rewriting bytes the file already had need no space, so this holds on a
    // full disk; should it still fail, there is nothing more to try.
    try {
        EscribirExacto(fd_, posicion, cola.data(), cola.size());
        EscribirExacto(fd_, 0, header.data(), header.size());
    } catch (...) {
    }
    while (::ftruncate(fd_, static_cast<off_t>(longitud)) != 0 && errno == EINTR) {
    }
}

void TDBase3Plus::First() {
    ReadRecord(0);
}

void TDBase3Plus::Next() {
    if (recNo_ == std::numeric_limits<std::int32_t>::max()) {
        ComprobarAbierta();
        throw EInOutError(CodigoES::ReadBeyondEnd);
    }
    const std::int32_t n = recNo_ + 1;
    if (const std::uint8_t* leido = active_ ? Leido(n) : nullptr) {
        recNo_ = n;
        Descomponer(leido);
        return;
    }
    ReadRecord(n);
}
