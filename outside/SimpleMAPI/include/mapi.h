// Simple MAPI: the mail client's one-call messaging interface, with the record layouts and
// values of the platform. The system loads the library by name and looks the calls up, so
// only the types, the values and the call signatures live here.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

using LHANDLE = ULONG_PTR;
using FLAGS = ULONG;

// Results.
constexpr ULONG SUCCESS_SUCCESS = 0;
constexpr ULONG MAPI_USER_ABORT = 1;
constexpr ULONG MAPI_E_USER_ABORT = MAPI_USER_ABORT;
constexpr ULONG MAPI_E_FAILURE = 2;
constexpr ULONG MAPI_E_ATTACHMENT_NOT_FOUND = 11;
constexpr ULONG MAPI_E_UNKNOWN_RECIPIENT = 14;
constexpr ULONG MAPI_E_TEXT_TOO_LARGE = 18;

// Recipient classes.
constexpr ULONG MAPI_ORIG = 0;
constexpr ULONG MAPI_TO = 1;
constexpr ULONG MAPI_CC = 2;
constexpr ULONG MAPI_BCC = 3;

// Send flags.
constexpr FLAGS MAPI_LOGON_UI = 0x1;
constexpr FLAGS MAPI_DIALOG = 0x8;

struct MapiRecipDesc {
    ULONG ulReserved;
    ULONG ulRecipClass;
    LPSTR lpszName;
    LPSTR lpszAddress;
    ULONG ulEIDSize;
    LPVOID lpEntryID;
};

struct MapiFileDesc {
    ULONG ulReserved;
    ULONG flFlags;
    ULONG nPosition; // 0xFFFFFFFF: the attachment has no place in the note text
    LPSTR lpszPathName;
    LPSTR lpszFileName; // shown to the reader; null means the path's own name
    LPVOID lpFileType;
};

struct MapiMessage {
    ULONG ulReserved;
    LPSTR lpszSubject;
    LPSTR lpszNoteText;
    LPSTR lpszMessageType;
    LPSTR lpszDateReceived;
    LPSTR lpszConversationID;
    FLAGS flFlags;
    MapiRecipDesc* lpOriginator;
    ULONG nRecipCount;
    MapiRecipDesc* lpRecips;
    ULONG nFileCount;
    MapiFileDesc* lpFiles;
};

struct MapiRecipDescW {
    ULONG ulReserved;
    ULONG ulRecipClass;
    PWSTR lpszName;
    PWSTR lpszAddress;
    ULONG ulEIDSize;
    LPVOID lpEntryID;
};

struct MapiFileDescW {
    ULONG ulReserved;
    ULONG flFlags;
    ULONG nPosition;
    PWSTR lpszPathName;
    PWSTR lpszFileName;
    LPVOID lpFileType;
};

struct MapiMessageW {
    ULONG ulReserved;
    PWSTR lpszSubject;
    PWSTR lpszNoteText;
    PWSTR lpszMessageType;
    PWSTR lpszDateReceived;
    PWSTR lpszConversationID;
    FLAGS flFlags;
    MapiRecipDescW* lpOriginator;
    ULONG nRecipCount;
    MapiRecipDescW* lpRecips;
    ULONG nFileCount;
    MapiFileDescW* lpFiles;
};

using LPMAPISENDMAIL = ULONG (*)(LHANDLE session, ULONG_PTR uiParam, MapiMessage* message, FLAGS flags,
                                 ULONG reserved);
using LPMAPISENDMAILW = ULONG (*)(LHANDLE session, ULONG_PTR uiParam, MapiMessageW* message, FLAGS flags,
                                  ULONG reserved);

extern "C" {
ULONG MAPISendMail(LHANDLE session, ULONG_PTR uiParam, MapiMessage* message, FLAGS flags, ULONG reserved);
ULONG MAPISendMailW(LHANDLE session, ULONG_PTR uiParam, MapiMessageW* message, FLAGS flags, ULONG reserved);
}

DV_EXPORTS_END
