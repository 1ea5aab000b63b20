#pragma once

// Reads and writes the records of model/Records.h field by field, little-endian, in the order
// their `describe` lists the fields; sizes and offsets are computed from the same lists.

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>
#include <vector>

#include "model/Records.h"

namespace finplan {

namespace codec {

template <class T> struct IsFixedText : std::false_type {};
template <std::size_t N> struct IsFixedText<FixedText<N>> : std::true_type {};

// Built-in arrays and std::array: a run of equal fields.
template <class T> struct ArrayLength : std::integral_constant<std::size_t, 0> {};
template <class T, std::size_t N>
struct ArrayLength<T[N]> : std::integral_constant<std::size_t, N> {};
template <class T, std::size_t N>
struct ArrayLength<std::array<T, N>> : std::integral_constant<std::size_t, N> {};
template <class T> inline constexpr bool isArray = ArrayLength<T>::value > 0;

template <class T> constexpr std::size_t sizeOf(const T& field);

struct SizeCounter {
    std::size_t total = 0;
    template <class T> constexpr void operator()(const char*, const T& field) {
        total += sizeOf(field);
    }
};

template <class T> constexpr std::size_t sizeOf(const T& field) {
    if constexpr (std::is_arithmetic_v<T>) {
        return sizeof(T);
    } else if constexpr (isArray<T>) {
        return ArrayLength<T>::value * sizeOf(field[0]);
    } else if constexpr (IsFixedText<T>::value) {
        return T::capacity;
    } else {
        SizeCounter counter;
        describe(field, counter);
        return counter.total;
    }
}

struct OffsetFinder {
    std::string_view name;
    std::size_t offset = 0;
    bool found = false;
    template <class T> constexpr void operator()(const char* fieldName, const T& field) {
        if (found)
            return;
        if (fieldName && name == fieldName)
            found = true;
        else
            offset += sizeOf(field);
    }
};

class Writer {
  public:
    explicit Writer(std::vector<std::uint8_t>& out) : m_out(out) {}

    template <class T> void operator()(const char*, const T& field) {
        if constexpr (std::is_same_v<T, float>) {
            put(std::bit_cast<std::uint32_t>(field), 4);
        } else if constexpr (std::is_integral_v<T>) {
            put(static_cast<std::make_unsigned_t<T>>(field), sizeof(T));
        } else if constexpr (isArray<T>) {
            for (const auto& element : field)
                (*this)(nullptr, element);
        } else if constexpr (IsFixedText<T>::value) {
            m_out.insert(m_out.end(), field.bytes, field.bytes + T::capacity);
        } else {
            describe(field, *this);
        }
    }

  private:
    void put(std::uint32_t bits, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i)
            m_out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    }
    std::vector<std::uint8_t>& m_out;
};

// Reads from bytes that the caller has checked to hold the whole record.
class Reader {
  public:
    explicit Reader(const std::uint8_t* bytes) : m_at(bytes) {}

    template <class T> void operator()(const char*, T& field) {
        if constexpr (std::is_same_v<T, float>) {
            field = std::bit_cast<float>(static_cast<std::uint32_t>(take(4)));
        } else if constexpr (std::is_integral_v<T>) {
            field = static_cast<T>(static_cast<std::make_unsigned_t<T>>(take(sizeof(T))));
        } else if constexpr (isArray<T>) {
            for (auto& element : field)
                (*this)(nullptr, element);
        } else if constexpr (IsFixedText<T>::value) {
            for (char& c : field.bytes)
                c = static_cast<char>(*m_at++);
        } else {
            describe(field, *this);
        }
    }

  private:
    std::uint32_t take(std::size_t width) {
        std::uint32_t bits = 0;
        for (std::size_t i = 0; i < width; ++i)
            bits |= static_cast<std::uint32_t>(*m_at++) << (8 * i);
        return bits;
    }
    const std::uint8_t* m_at;
};

} // namespace codec

// The number of bytes a record takes in the file.
template <class T> consteval std::size_t encodedSize() {
    const T record{};
    return codec::sizeOf(record);
}

// Where a field starts within its record in the file.
template <class T> consteval std::size_t fieldOffset(std::string_view name) {
    const T record{};
    codec::OffsetFinder finder{name};
    describe(record, finder);
    return finder.found ? finder.offset : static_cast<std::size_t>(-1);
}

template <class T> void encodeRecord(const T& record, std::vector<std::uint8_t>& out) {
    codec::Writer writer(out);
    writer(nullptr, record);
}

// `bytes` must hold at least encodedSize<T>() bytes.
template <class T> void decodeRecord(std::span<const std::uint8_t> bytes, T& record) {
    if (bytes.size() < encodedSize<T>())
        return;
    codec::Reader reader(bytes.data());
    reader(nullptr, record);
}

// Reads `record` from the bytes at `pos` on and returns how many of its bytes arrived, moving
// `pos` past them. The bytes of a short block replace only the record's first bytes, as a short
// read into the record would; the rest keeps what the record held.
template <class T>
std::size_t decodeBlock(std::span<const std::uint8_t> bytes, std::size_t& pos, T& record) {
    constexpr std::size_t size = encodedSize<T>();
    const std::size_t n = pos < bytes.size() ? std::min(size, bytes.size() - pos) : 0;
    if (n == size) {
        decodeRecord(bytes.subspan(pos, size), record);
    } else if (n > 0) {
        std::vector<std::uint8_t> merged;
        encodeRecord(record, merged);
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(pos), n, merged.begin());
        decodeRecord(std::span<const std::uint8_t>(merged), record);
    }
    pos += n;
    return n;
}

static_assert(encodedSize<InitialValues>() == 80);
static_assert(encodedSize<FinancialEvent>() == 160);
static_assert(encodedSize<Account>() == 82);
static_assert(encodedSize<AccountTable>() == 4124);
static_assert(encodedSize<GroupsBlock>() == 740);
static_assert(encodedSize<ReportTitles>() == 246);
static_assert(encodedSize<SlotSettings>() == 1938);
static_assert(encodedSize<FontRecord>() == 60);
static_assert(encodedSize<Preferences>() == 152);
static_assert(encodedSize<Budget>() == 1398);
static_assert(encodedSize<DividendBlock>() == 1100);
static_assert(encodedSize<AssetClassBlock>() == 786);
static_assert(encodedSize<AllocationBlock>() == 5060);

// Offsets the file format fixes; the tests check every field against an independent writer.
static_assert(fieldOffset<InitialValues>("startAge") == 26 &&
              fieldOffset<InitialValues>("taxRate") == 48 &&
              fieldOffset<InitialValues>("birthMonth") == 76);
static_assert(fieldOffset<FinancialEvent>("termYears") == 44 &&
              fieldOffset<FinancialEvent>("name") == 70 &&
              fieldOffset<FinancialEvent>("paymentAccount") == 158);
static_assert(fieldOffset<Account>("accountId") == 60 && fieldOffset<Account>("slotId") == 80);
static_assert(fieldOffset<AccountTable>("nextAccountId") == 4102 &&
              fieldOffset<AccountTable>("assetAllocationMode") == 4122);
static_assert(fieldOffset<GroupsBlock>("viewSetting") == 452 &&
              fieldOffset<GroupsBlock>("w2") == 462);
static_assert(fieldOffset<SlotSettings>("rmdAccount") == 916 &&
              fieldOffset<SlotSettings>("lifeTableValues") == 1338 &&
              fieldOffset<SlotSettings>("lifeTableDescription") == 1738);
static_assert(fieldOffset<Preferences>("windowWidth") == 124 &&
              fieldOffset<Preferences>("orientation") == 148);
static_assert(fieldOffset<Budget>("itemTrack") == 1326 && fieldOffset<Budget>("account") == 1394);

} // namespace finplan
