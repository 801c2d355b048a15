/* vennix: video page address -> stream addresses and title.
 *
 * Every export is a plain C function with the __cdecl calling convention and an
 * undecorated name. No export takes a buffer size: callers pass buffers at least
 * as large as the sizes below. Nothing is kept between calls.
 */
#ifndef VENNIX_H
#define VENNIX_H

/* The library's module definition file names the exports. */
#define FLV_API
#ifdef _WIN32
#define FLV_CALL __cdecl
typedef wchar_t flv_wchar;
#else
#define FLV_CALL
typedef char16_t flv_wchar;
#endif

/* Sizes, in bytes for the 8-bit exports and in UTF-16 units for the others. */
#define FLV_LIST_A_SIZE 524288        /* output of FLV_GetFlvListA and FLV_GetFlvListDirectlyA */
#define FLV_LIST_W_UNITS 4096         /* output of FLV_GetFlvListW */
#define FLV_URL_A_LINES_SIZE 131072   /* address lines of FLV_GetFlvUrlA and FLV_GetFlvUrlDirectlyA */
#define FLV_URL_A_TITLE_SIZE 1024     /* title of FLV_GetFlvUrlA and FLV_GetFlvUrlDirectlyA */
#define FLV_URL_W_LINES_UNITS 4096    /* address lines of FLV_GetFlvUrlW */
#define FLV_URL_W_TITLE_UNITS 256     /* title of FLV_GetFlvUrlW */
#define FLV_URL_DW_LINES_UNITS 131072 /* address lines of FLV_GetFlvUrlDirectlyW */
#define FLV_URL_DW_TITLE_UNITS 10240  /* title of FLV_GetFlvUrlDirectlyW */

#ifdef __cplusplus
extern "C" {
#endif

/* 1 when a GET of the address ends in a status line holding "200", else 0. */
FLV_API unsigned char FLV_CALL FLV_IsValidA(const char* url);
FLV_API unsigned char FLV_CALL FLV_IsValidW(const flv_wchar* url);

/* The result text: "<title>"...</title>" then "<flv>" items each ended by "<|>"
 * (alternatives) or "<&>" (segments) "</flv>". */
FLV_API void FLV_CALL FLV_GetFlvListA(const char* pageUrl, char* list);
FLV_API void FLV_CALL FLV_GetFlvListDirectlyA(const char* pageUrl, char* list);
FLV_API void FLV_CALL FLV_GetFlvListW(const flv_wchar* pageUrl, flv_wchar* list);

/* Stream addresses one per line, each ended by "\r\n", and the title. */
FLV_API void FLV_CALL FLV_GetFlvUrlA(const char* pageUrl, char* lines, char* title);
FLV_API void FLV_CALL FLV_GetFlvUrlDirectlyA(const char* pageUrl, char* lines, char* title);
FLV_API void FLV_CALL FLV_GetFlvUrlW(const flv_wchar* pageUrl, flv_wchar* lines, flv_wchar* title);
FLV_API void FLV_CALL FLV_GetFlvUrlDirectlyW(const flv_wchar* pageUrl, flv_wchar* lines,
                                             flv_wchar* title);

#ifdef __cplusplus
}
#endif

#endif /* VENNIX_H */
