// PSKERNEL: the geometric kernel that PartConv drives, as a small stand-in.
//
// It offers only the calls the converter makes. It does no file and no memory work of its
// own: every byte it reads or writes and every block of memory it uses goes through the
// frustrum the host registers, and the record of each receive goes through the host's delta
// callbacks.
//
// Files. A partition is read through the wide-name open-for-reading callback (guise 8,
// binary format, header skipped) and a part is written through the wide-name open-for-writing
// callback (guise 4, binary format), which writes the host's text header; the kernel's own
// header text for a part is "CONTENT=part;COUNT=<number of parts>;".
//
// Content after the header; integers are little-endian, f64 is an IEEE double stored
// little-endian:
//
//   partition                           part
//   "PXMP"                              "PXMT"
//   u32 entity count                    u32 part count
//   entities, numbered 1, 2, ...        parts, in the order given to the transmit:
//     u8 kind: 1 body, 2 assembly         u8 kind, u32 tag (its tag in the session)
//     body:     u8 body type (1..4)       body:     as in the partition
//               u32 n, n geometry bytes
//     assembly: u32 instance count        assembly: u32 instance count
//               per instance:                       per instance:
//               u32 entity number,                  u32 tag of the instanced part,
//               12 x f64 transform                  12 x f64 transform
//
// In a partition an instance names an entity that comes before its assembly, so instances
// never form a cycle. Nothing may follow the last entity. Anything else is a corrupt file.
#pragma once

#include "pal/visibility.h"

#include <stddef.h>
#include <wchar.h>

DV_EXPORTS_BEGIN

#ifdef __cplusplus
extern "C" {
#endif

typedef int PK_ERROR_t;
typedef int PK_LOGICAL_t;
typedef int PK_TAG_t;
typedef PK_TAG_t PK_PARTITION_t;
typedef PK_TAG_t PK_PART_t;
typedef PK_TAG_t PK_BODY_t;
typedef PK_TAG_t PK_ASSEMBLY_t;
typedef unsigned PK_DELTA_t;

// Answers of the kernel calls.
enum {
    PK_ERROR_no_errors = 0,
    PK_ERROR_bad_option = 10,   // missing option record, wrong version or format
    PK_ERROR_bad_frustrum = 11, // a required callback is missing
    PK_ERROR_no_frustrum = 12,  // the session cannot start without a frustrum
    PK_ERROR_session_not_started = 13,
    PK_ERROR_session_started = 14,  // registration after the start, or a second start
    PK_ERROR_frustrum_failure = 15, // the frustrum's start answered a failure
    PK_ERROR_not_unicode = 16,      // a wide-name call while unicode names are off
    PK_ERROR_file_open_failed = 20,
    PK_ERROR_file_read_failed = 21,
    PK_ERROR_file_write_failed = 22,
    PK_ERROR_corrupt_file = 23,
    PK_ERROR_memory_full = 30,
    PK_ERROR_bad_tag = 40,
    PK_ERROR_delta_failed = 50,        // a delta callback refused during a receive
    PK_ERROR_bad_delta_callbacks = 932 // missing delta callbacks, or registered after the start
};

// File guises, formats and close actions of the frustrum's file callbacks.
enum {
    PK_FILE_guise_transmit = 4,
    PK_FILE_guise_transmit_partition = 8,
    PK_FILE_format_binary = 1,
    PK_FILE_format_text = 2,
    PK_FILE_close_keep = 1,
    PK_FILE_close_delete = 2,
    PK_FILE_status_ok = 0,
    PK_FILE_status_end_of_file = 4
};

enum { PK_transmit_format_binary = 18222 };

// The frustrum: callbacks through which the kernel uses the host. The narrow-name callbacks
// take every argument by address and set the status through the last one; the wide-name
// ones take their arguments by value and return the status.
typedef void (*PK_FRU_status_f)(int* status);
typedef void (*PK_FRU_allocate_f)(const size_t* size, char** pointer, int* status);
typedef void (*PK_FRU_release_f)(const size_t* size, char* const* pointer, int* status);
typedef void (*PK_FRU_open_read_f)(const int* guise, const int* format, const char* name,
                                   const int* name_length, const int* skip_header, int* identifier,
                                   int* status);
typedef void (*PK_FRU_open_write_f)(const int* guise, const int* format, const char* name,
                                    const int* name_length, const char* header, const int* header_length,
                                    int* identifier, int* status);
typedef void (*PK_FRU_close_f)(const int* guise, const int* identifier, const int* action, int* status);
typedef void (*PK_FRU_read_f)(const int* guise, const int* identifier, const int* max_length, char* buffer,
                              int* length_read, int* status);
typedef void (*PK_FRU_write_f)(const int* guise, const int* identifier, const int* length, const char* data,
                               int* status);
typedef int (*PK_FRU_open_read_wide_f)(int guise, int format, const wchar_t* name, int skip_header,
                                       int* identifier);
typedef int (*PK_FRU_open_write_wide_f)(int guise, int format, const wchar_t* name, const char* header,
                                        int* identifier);
typedef void (*PK_FRU_unused_f)(void);

typedef struct PK_SESSION_frustrum_s {
    PK_FRU_status_f start;
    PK_FRU_status_f abort;
    PK_FRU_status_f stop;
    PK_FRU_allocate_f allocate;
    PK_FRU_release_f release;
    PK_FRU_unused_f unused_a[6];
    PK_FRU_open_read_f open_read;
    PK_FRU_open_write_f open_write;
    PK_FRU_close_f close;
    PK_FRU_read_f read;
    PK_FRU_write_f write;
    PK_FRU_unused_f unused_b[9];
    PK_FRU_open_read_wide_f open_read_wide;
    PK_FRU_open_write_wide_f open_write_wide;
} PK_SESSION_frustrum_t;

// Delta callbacks: the kernel stores the changes between its rollback marks through them.
typedef struct PK_DELTA_frustrum_s {
    int (*open_for_write)(int mark, PK_DELTA_t* key);
    int (*open_for_read)(PK_DELTA_t key);
    int (*close)(PK_DELTA_t key);
    int (*write)(PK_DELTA_t key, size_t n_bytes, const char* bytes);
    int (*read)(PK_DELTA_t key, size_t n_bytes, char* buffer);
    int (*remove)(PK_DELTA_t key);
} PK_DELTA_frustrum_t;

// Application streams: the host's byte streams, which the kernel may read and write in items
// of 1, 2, 4 or 8 bytes. The stream object is the host's own.
typedef int (*PK_APPLIO_open_f)(void* stream, int* identifier);
typedef int (*PK_APPLIO_write_f)(int identifier, int n_items, const void* items);
typedef int (*PK_APPLIO_read_f)(int identifier, int n_items, void* items);
typedef int (*PK_APPLIO_close_f)(int identifier, int abort);

typedef struct PK_SESSION_applio_s {
    PK_APPLIO_open_f open_read;
    PK_APPLIO_open_f open_write;
    PK_APPLIO_write_f write_bytes;
    PK_APPLIO_write_f write_chars;
    PK_APPLIO_write_f write_shorts;
    PK_APPLIO_write_f write_ints;
    PK_APPLIO_write_f write_longs;
    PK_APPLIO_read_f read_bytes;
    PK_APPLIO_read_f read_chars;
    PK_APPLIO_read_f read_shorts;
    PK_APPLIO_read_f read_ints;
    PK_APPLIO_read_f read_longs;
    PK_APPLIO_close_f close;
    PK_FRU_unused_f unused[6];
} PK_SESSION_applio_t;

// Option records. Only the version and the transmit format are looked at; the other values
// are carried for the kernel's own use.
typedef struct PK_SESSION_start_o_s {
    int version; // 1
    const void* option_1;
    int option_2;
    int option_3;
} PK_SESSION_start_o_t;

typedef struct PK_PARTITION_receive_o_s {
    int version; // 10
    int transmit_format;
    int option_2;
    int option_3;
    int option_4;
    const void* option_5;
    const void* option_6;
    int option_7;
    const void* option_8;
    int option_9;
    int option_10;
    int option_11;
    int option_12;
} PK_PARTITION_receive_o_t;

typedef struct PK_PART_transmit_o_s {
    int version; // 4
    int transmit_format;
    int option_2;
    int option_3;
    int option_4;
    const void* option_5;
    int option_6;
} PK_PART_transmit_o_t;

PK_ERROR_t PK_SESSION_set_unicode(PK_LOGICAL_t on);
PK_ERROR_t PK_SESSION_register_frustrum(const PK_SESSION_frustrum_t* frustrum);
PK_ERROR_t PK_DELTA_register_callbacks(PK_DELTA_frustrum_t callbacks);
PK_ERROR_t PK_SESSION_register_applio(const PK_SESSION_applio_t* applio);
PK_ERROR_t PK_SESSION_start(const PK_SESSION_start_o_t* options);

// Reads the partition file of that name; on failure *partition stays 0 and nothing of the
// file is kept.
PK_ERROR_t PK_PARTITION_receive_u(const wchar_t* name, const PK_PARTITION_receive_o_t* options,
                                  PK_PARTITION_t* partition);
// The assemblies and the bodies of a partition in the order they were received. The array
// (null when the count is 0) is the caller's to give back with PK_MEMORY_free.
PK_ERROR_t PK_PARTITION_ask_assemblies(PK_PARTITION_t partition, int* n_assemblies,
                                       PK_ASSEMBLY_t** assemblies);
PK_ERROR_t PK_PARTITION_ask_bodies(PK_PARTITION_t partition, int* n_bodies, PK_BODY_t** bodies);
PK_ERROR_t PK_MEMORY_free(void* pointer);
// Writes the parts, in the order given, into the part file of that name. A failed write
// deletes what was written.
PK_ERROR_t PK_PART_transmit_u(int n_parts, const PK_PART_t* parts, const wchar_t* name,
                              const PK_PART_transmit_o_t* options);

#ifdef __cplusplus
}
#endif

DV_EXPORTS_END
