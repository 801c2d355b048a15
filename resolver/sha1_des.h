#pragma once
// SHA-1 digest and DES cipher over 8-bit texts. Byte and word arrays travel
// between the routines as list texts: "%d," per item ("-1,0,255,").
#include <cstdint>
#include <string>
#include <vector>

// Pad text put in place of each Base64 "=": empty.
extern const std::string Base64Pad;

// "%d," of value.
std::string IntToListItem(int32_t value);
// The items of a list text. Pieces between commas are items, a non-empty rest
// after the last comma is one more; "" is the one item 0. Each item is an
// optional sign and the digits at its start (0 when none), taken modulo 2^32.
std::vector<int32_t> ParseIntList(const std::string& list);

// Word list of size / 4 + 1 words: the bytes packed big-endian, the rest 0.
std::string TextToWordsBE(const std::string& text);
// SHA-1 of a big-endian word list holding a message of bits bits: the five
// state words "%d" separated by commas, no comma after the last.
std::string Sha1Core(const std::string& words, uint64_t bits);
// Eight lower-case hex digits per word, most significant byte first.
std::string WordsToHexBE(const std::string& words);
// Base64 of the words' bytes (most significant first), Base64Pad for each pad.
std::string WordsToBase64BE(const std::string& words);
// 40 lower-case hex digits of the SHA-1 of text's bytes.
std::string Sha1Hex(const std::string& text);
// SHA-1 of text's bytes in Base64 without pad (27 characters).
std::string Sha1Base64(const std::string& text);
// Sha1Hex when form is 0, else Sha1Base64.
std::string Sha1Digest(const std::string& text, int32_t form);

// Subkey list of key: 16 pairs of words per DES key, count 32 for a key text
// of up to 8 characters (DES) and 96 for a longer one (triple DES, keys of
// bytes 0-7, 8-15, 16-23). Bytes missing from the key text count as 0;
// characters after the 8th (24th) are not read.
// Each pair carries one round's eight six-bit groups, one per byte: the first
// word those for S-boxes 2, 4, 6, 8, the second those for 1, 3, 5, 7.
std::string DesCreateKeys(const std::string& key, int32_t& count);
// Byte list of a hex text, read in pairs after an optional leading "0x"; a
// pair counts by its leading hex digits (0 when none), a lone last digit alone.
std::string HexToByteList(const std::string& hex);
// The eight bytes (low 8 bits of each value) as an 8-byte text.
std::string CharsToText(int32_t c0, int32_t c1, int32_t c2, int32_t c3,
                        int32_t c4, int32_t c5, int32_t c6, int32_t c7);
// DES (triple DES for a key text over 8 characters, encrypt-decrypt-encrypt)
// over a byte list, 8 bytes out per block. encrypt non-zero enciphers, 0
// deciphers; mode 1 is CBC with the first 8 bytes of iv (missing bytes 0),
// any other mode ECB. A partial last block is padded with zero bytes; the
// empty list is the one byte 0. padding is not read.
std::string DesCrypt(const std::string& key, const std::string& message, int32_t encrypt,
                     int32_t mode, const std::string& iv, const std::string& padding);
// ECB decipherment of a hex cipher text with key.
std::string DesDecryptHex(const std::string& key, const std::string& hex);
