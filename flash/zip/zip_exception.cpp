#include "flash/zip/zip_exception.h"

#include <zlib.h>

namespace {

std::string describe(int cause, const std::string& fileName, const std::string& detail) {
    std::string text = "ZIP error " + std::to_string(cause);
    if (!fileName.empty())
        text += " in " + fileName;
    if (!detail.empty())
        text += ": " + detail;
    return text;
}

} // namespace

CZipException::CZipException(int cause, std::string fileName, const std::string& detail)
    : std::runtime_error(describe(cause, fileName, detail)), m_iCause(cause),
      m_szFileName(std::move(fileName)), m_szReason(detail) {}

int CZipException::CauseFromCode(int code) {
    using namespace mv::zip;
    switch (code) {
    case Z_STREAM_END: return streamEnd;
    case Z_NEED_DICT: return needDict;
    case Z_ERRNO: return errNo;
    case Z_STREAM_ERROR: return streamError;
    case Z_DATA_ERROR: return dataError;
    case Z_MEM_ERROR: return memError;
    case Z_BUF_ERROR: return bufError;
    case Z_VERSION_ERROR: return versionError;
    case kErrBadArchive: return badArchive;
    case kErrBadCrc: return badCrc;
    case kErrBadPassword: return badPassword;
    case kErrNoCentralDir: return noCentralDir;
    default: break;
    }
    if (code <= kErrVolumeFirst && code >= kErrVolumeLast)
        return volumeFirst + (kErrVolumeFirst - code);
    return generic;
}

void CZipException::Throw(int code, const std::string& fileName, const std::string& detail) {
    throw CZipException(CauseFromCode(code), fileName, detail);
}
