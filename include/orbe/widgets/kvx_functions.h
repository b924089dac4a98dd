// The widget library's free functions: text forms, MD5, dates, Blowfish, the
// global scroll-bar look, the drawing state and the panel plug-in.
#ifndef ORBE_WIDGETS_KVX_FUNCTIONS_H_
#define ORBE_WIDGETS_KVX_FUNCTIONS_H_

#include <cstdint>
#include <memory>
#include <string>

#include "orbe/platform/types.h"
#include "orbe/widgets/ctime.h"

namespace orbe {
class Blowfish;
}  // namespace orbe

// Display form of a GBK text and back, and the display name of a font. The
// module keeps GBK throughout and the human edges convert once, so the display
// form of a text is the text itself.
std::string _F(const std::string& text);
std::string _J(const std::string& text);
std::string _FFONT(const std::string& font_name);

// MD5 with the RFC 1321 calling convention. The context is plain storage that
// callers may keep on the stack; its layout is private to the library.
struct KVX_MD5_CTX {
  alignas(8) unsigned char opaque[128];
};
void KVX_MD5Init(KVX_MD5_CTX* context);
void KVX_MD5Update(KVX_MD5_CTX* context, const unsigned char* input, unsigned int length);
// Writes the digest and re-initialises the context.
void KVX_MD5Final(unsigned char digest[16], KVX_MD5_CTX* context);

// The calendar day written yyyymmdd at 00:00 local time; invalid for a date
// that does not exist (20230230, month 0 or 13, day 0, year before 1900).
CTime DwTime2CTime(unsigned date);
// Whether the day exists in the years a CTime can hold (1900 to 9999).
bool IsRealDate(int year, int month, int day);
// Whether DwTime2CTime(date) is valid, without reading the zone rules. Local
// midnights keep the order of their days, so valid yyyymmdd numbers compare
// as the times DwTime2CTime gives for them.
bool IsRealDwTime(unsigned date);
// Non-zero for a valid time.
int IsValidTime(const CTime& time);
// 1 to 4 from the month; 0 for an invalid time.
int GetQuarter(const CTime& time);
// 28 to 31 for the month of the (Gregorian) year; 0 for a month outside 1..12.
int GetLastDay(int year, int month);

// Blowfish in ECB mode over whole 8-byte blocks. Keys of 4 to 56 bytes; with
// any other length every call fails.
class CKvxBlowfish {
 public:
  CKvxBlowfish(const unsigned char* key, int length);
  ~CKvxBlowfish();
  CKvxBlowfish(const CKvxBlowfish&) = delete;
  CKvxBlowfish& operator=(const CKvxBlowfish&) = delete;

  // In place; false when length is negative or not a multiple of 8, the
  // buffer is null, or the key was refused.
  bool Encrypt(unsigned char* buffer, int length);
  bool Decrypt(unsigned char* buffer, int length);

 private:
  std::unique_ptr<orbe::Blowfish> cipher_;
};

// The scroll-bar look every grid and list draws with; 0 until set.
int KVXGetScrollBarType();
void KVXSetScrollBarType(int type);

// Reference-counted start and stop of the drawing state. Rendering here is
// HTML/SVG text, so no graphics system is started; the count records whether
// the module has brought the library up, and widgets render only while it is.
BOOL InitGDIPlus();
void UninitGDIPlus();
bool IsGraphicsReady();

// Loads the panel plug-in library by its original name ("PanelPlugin.dll")
// and calls its optional `BOOL PluginInit()`; FALSE when the library is
// missing or its PluginInit returns FALSE (the library is then released). A
// plug-in already loaded is unloaded first.
BOOL LoadPluginDll(const std::string& name);
// Calls the optional `void PluginUninit()` and frees the library; safe to call
// when nothing is loaded.
void UnLoadPluginDll();

#endif  // ORBE_WIDGETS_KVX_FUNCTIONS_H_
