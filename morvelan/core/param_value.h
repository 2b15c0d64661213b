// A typed value of a channel or parameter: 104 bytes of storage whose meaning depends on a value
// type that every operation takes as an argument (the type is not stored).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// Value types of channels and parameters.
enum ParamValueType : int {
    kTypeBool = 1, // one byte, 1 = true
    kTypeUInt8 = 2,
    kTypeUInt16 = 3,
    kTypeUInt32 = 4,
    kTypeInt8 = 5,
    kTypeInt16 = 6,
    kTypeInt32 = 7,
    kTypeInt64 = 8, // eight bytes in the process image, no text or integer reading
    kTypeFloat = 9, // 32-bit float, no bytes in the process image
    kTypeText = 10, // zero-terminated text in the storage, no bytes in the process image
};

// Language texts shown for a boolean value: true, false.
constexpr int kTextTrue = 10009;
constexpr int kTextFalse = 10010;

class CParamValue {
public:
    static constexpr std::size_t kStorageBytes = 104;
    static constexpr std::size_t kMaxText = 100;

    CParamValue() { bytes_.fill(0); }

    // Bytes in the process image for a type; an unknown type gives its own number.
    static int GetSize(int type);
    // True for types 5 .. 10.
    static bool IsSignedType(int type);
    // Limits of a type as 32-bit floats; an unknown type leaves both outputs unchanged.
    static void GetLimits(int type, float& minimum, float& maximum);

    // The value as an integer: zero- or sign-extended by type; 0 for types 8 .. 10; an unknown
    // type gives its own number.
    std::int32_t GetAsInt(int type) const;
    // The value as text in the C locale (booleans by language text).
    std::string ToText(int type) const;
    // Stores a text by type: integers keep the low bytes of the parsed number, floats are parsed
    // in the C locale; a boolean becomes 1 for the true text or a non-zero number, else 0.
    // Types 8, 10 and unknown types leave the value unchanged.
    void FromText(const std::string& text, int type);

    void SetByte(std::uint8_t value);
    void SetWord(std::uint16_t value);
    void SetLong(std::uint32_t value);
    // Stores at most 100 characters, zero-terminated.
    void SetText(const std::string& text);

    // Copies up to n bytes from src to the start of the storage, never past its end; returns the
    // number of bytes copied.
    std::size_t CopyFrom(const std::uint8_t* src, std::size_t n);
    // Copies up to n bytes of the storage to dest, never past the storage; returns the count.
    std::size_t CopyTo(std::uint8_t* dest, std::size_t n) const;

    const std::uint8_t* Data() const { return bytes_.data(); }
    std::uint8_t* Data() { return bytes_.data(); }

    // Compare all 104 bytes.
    bool operator!=(const CParamValue& other) const { return bytes_ != other.bytes_; }
    bool operator==(const CParamValue& other) const { return bytes_ == other.bytes_; }

private:
    std::uint32_t Read32() const;

    std::array<std::uint8_t, kStorageBytes> bytes_;
};
