#include "ALStatusCodes.h"

namespace {

struct CodeText {
    int32_t code;
    const wchar_t* text;
};

constexpr CodeText kCodeTexts[] = {
    {AL_SUCCESS, L"No errors"},
    {AL_END_OF_FILE, L"End of file"},
    {AL_CANT_ALLOCATE_BUFFER, L"Can't allocate buffer"},
    {AL_CANT_ALLOCATE_MEMORY, L"Memory allocation failure"},
    {AL_CANT_CREATE_ENGINE, L"Can't create compression engine"},
    {AL_CANT_CREATE_STORAGE_OBJECT, L"Can't create storage object"},
    {AL_RENAME_ERROR, L"Error renaming file"},
    {AL_CANT_OPEN_FILE, L"Can't open file"},
    {AL_SEEK_ERROR, L"Seek error"},
    {AL_READ_ERROR, L"Read error"},
    {AL_WRITE_ERROR, L"Write error"},
    {AL_DELETE_ERROR, L"File deletion error"},
    {AL_ILLEGAL_PARAMETER, L"Illegal parameter"},
    {AL_INTERNAL_ERROR, L"Internal error"},
    {AL_USER_ABORT, L"User abort"},
    {AL_SERVER_NOT_PRESENT, L"Server not present"},
    {AL_COMPRESSION_TYPE_MISMATCH, L"Mismatch in compression type"},
    {AL_NEED_LENGTH, L"Missing length parameter"},
    {AL_CRC_ERROR, L"CRC Error"},
    {AL_UNKNOWN_STORAGE_OBJECT, L"Unknown type of storage object"},
    {AL_INVALID_ARCHIVE, L"Invalid archive"},
    {AL_LOGIC_ERROR, L"Logic error"},
    {AL_BACKUP_FAILURE, L"Could not create backup"},
    {AL_GETSEL_ERROR, L"Error getting selections from list box"},
    {AL_DUPLICATE_ENTRY, L"Duplicate entry"},
    {AL_INVALID_KEY, L"Invalid key"},
    {AL_MISSING_CRYPTO_ENGINE, L"Missing Crypto engine"},
};

}  // namespace

const wchar_t* ALStatusCodeText(int32_t code) noexcept {
    for (const CodeText& entry : kCodeTexts) {
        if (entry.code == code) return entry.text;
    }
    return nullptr;
}
