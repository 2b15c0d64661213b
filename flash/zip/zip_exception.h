// The error of the ZIP reader: a cause number and the archive it happened in.
#pragma once

#include <stdexcept>
#include <string>

namespace mv::zip {

// Internal error codes; zlib's own results (1, 2, -1 .. -6) are used as they are.
enum ZipErrorCode : int {
    kErrBadArchive = -101,   // bad or unsupported archive data, short read, unknown method
    kErrBadCrc = -102,       // CRC-32 of the data differs from the header
    kErrVolumeFirst = -103,  // -103 .. -107: volume and storage errors
    kErrVolumeLast = -107,
    kErrBadPassword = -108,
    kErrNoCentralDir = -109, // end of central directory not found
};

} // namespace mv::zip

class CZipException : public std::runtime_error {
public:
    enum Cause : int {
        generic = 1,
        streamEnd = 2,
        needDict = 3,
        errNo = 4,        // file error (also: the operating system refused a file operation)
        streamError = 5,
        dataError = 6,
        memError = 7,
        bufError = 8,
        versionError = 9,
        badArchive = 10,
        badCrc = 11,
        volumeFirst = 12, // 12 .. 16: volume and storage errors
        volumeLast = 16,
        badPassword = 17,
        noCentralDir = 18,
    };

    CZipException(int cause, std::string fileName, const std::string& detail = {});

    int GetCause() const { return m_iCause; }
    const std::string& GetFileName() const { return m_szFileName; }
    // Why, in the reader's words ("ZIP64 archives are not supported", the system's text of a
    // refused file operation, ...); empty when the cause says all there is.
    const std::string& GetReason() const { return m_szReason; }

    // The cause for an internal or zlib error code.
    static int CauseFromCode(int code);
    // Throws the exception for an internal or zlib error code.
    [[noreturn]] static void Throw(int code, const std::string& fileName,
                                   const std::string& detail = {});

    int m_iCause;
    std::string m_szFileName;
    std::string m_szReason;
};
