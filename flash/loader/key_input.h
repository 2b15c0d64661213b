// One key from the operator. On a terminal a single byte is read without echo and without
// waiting for a line end; otherwise one byte of standard input. The end of input reads as no
// key at all, which every question takes as "no".
#pragma once

#include <string>

namespace flash {

inline constexpr int kNoKey = -1;

class IKeyInput {
public:
    virtual ~IKeyInput() = default;
    // The byte of the key (0..255), or kNoKey at the end of input.
    virtual int ReadKey() = 0;
};

// Standard input. The terminal's settings are restored after each key, and also when the
// program is interrupted while it waits.
class CStdinKeys final : public IKeyInput {
public:
    int ReadKey() override;
};

// Keys from a text, for tests; kNoKey once the text is used up. Counts the reads.
class CScriptedKeys final : public IKeyInput {
public:
    explicit CScriptedKeys(std::string keys = {}) : m_Keys(std::move(keys)) {}
    int ReadKey() override;
    int Reads() const { return m_Reads; }

private:
    std::string m_Keys;
    std::size_t m_Next = 0;
    int m_Reads = 0;
};

// True when a key answers "yes" ('Y' or 'y').
inline bool IsYes(int key) {
    return key == 'Y' || key == 'y';
}

} // namespace flash
