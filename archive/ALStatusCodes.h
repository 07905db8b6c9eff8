#pragma once
// Status codes of the archive engine. Every engine object records its first failure as one of
// these negative codes (see ALStatusRecord); the stub's debug log prints the text of a code.
#include <cstdint>

enum ALStatusCode : int32_t {
    AL_SUCCESS = 0,
    AL_END_OF_FILE = -1,  // returned by buffer loads at the end of data, never stored
    AL_CANT_ALLOCATE_BUFFER = -1200,
    AL_CANT_ALLOCATE_MEMORY = -1999,
    AL_CANT_CREATE_ENGINE = -1998,
    AL_CANT_CREATE_STORAGE_OBJECT = -1997,
    AL_RENAME_ERROR = -1996,
    AL_CANT_OPEN_FILE = -1995,
    AL_SEEK_ERROR = -1994,
    AL_READ_ERROR = -1993,
    AL_WRITE_ERROR = -1992,
    AL_DELETE_ERROR = -1991,
    AL_ILLEGAL_PARAMETER = -1990,
    AL_INTERNAL_ERROR = -1989,
    AL_USER_ABORT = -1988,
    AL_SERVER_NOT_PRESENT = -1987,
    AL_COMPRESSION_TYPE_MISMATCH = -1986,
    AL_NEED_LENGTH = -1985,
    AL_CRC_ERROR = -1984,
    AL_COMPARE_ERROR = -1983,
    AL_UNKNOWN_COMPRESSION_TYPE = -1982,
    AL_UNKNOWN_STORAGE_OBJECT = -1981,
    AL_INVALID_ARCHIVE = -1980,
    AL_LOGIC_ERROR = -1979,
    AL_BACKUP_FAILURE = -1978,
    AL_GETSEL_ERROR = -1977,
    AL_DUPLICATE_ENTRY = -1976,
    AL_INVALID_KEY = -1975,
    AL_MISSING_CRYPTO_ENGINE = -1974,
};

// The short description of a status code, as the stub's log prints it; nullptr for the codes
// that have none (-1983, -1982 and every code outside the table).
const wchar_t* ALStatusCodeText(int32_t code) noexcept;
