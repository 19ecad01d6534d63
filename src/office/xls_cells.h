#pragma once
// The cells of a legacy .xls file as the process that reads it hands them to the program.
// The library that reads .xls files cannot be trusted with the program's memory (a damaged
// file can make it allocate without end, read past its buffers or crash), so a program of
// its own, qjroute-xls, reads the file under a memory and a processor-time limit and writes
// what it found to a pipe. The program reads that stream as it reads any file from outside:
// every length and position checked, within the limits of a workbook read.
//
// The stream is "QJXLS1" and then records, each starting with a tag byte; numbers are
// little-endian:
//   'S' u16 n, n bytes                      a sheet begins: its name (code page 1251), at
//                                           most 255 bytes
//   'C' u32 row, u16 column, u16 n, n bytes a cell of that sheet: its text (code page 1251),
//                                           rows and columns ascending, no empty text
//   'E'                                     every sheet was sent; nothing follows
//   'F' u8 fault, u16 n, n bytes            the file is refused: a ReadFault and why

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "office/workbook_reader.h"

namespace qj::office {

inline constexpr std::string_view kXlsStreamStart = "QJXLS1";
// The name of the .xls reading program, beside the program's own executable.
inline constexpr std::string_view kXlsReaderName = "qjroute-xls";
// An .xls file holds at most this many sheets (a sheet's index has sixteen bits).
inline constexpr int kMaxXlsSheets = 0x10000;
// A sheet's name in an .xls file has at most this many characters (its length is a byte).
inline constexpr size_t kMaxXlsSheetName = 255;

// Sanitizers reserve terabytes of address space for their shadow memory: under them the
// reading process's address space is not limited (their own options limit its memory).
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kXlsAddressSpaceLimited = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(memory_sanitizer)
inline constexpr bool kXlsAddressSpaceLimited = false;
#else
inline constexpr bool kXlsAddressSpaceLimited = true;
#endif
#else
inline constexpr bool kXlsAddressSpaceLimited = true;
#endif

// Writes the stream in pieces of a few kilobytes to `out`.
class XlsCellWriter {
 public:
  explicit XlsCellWriter(std::function<void(std::string_view)> out);
  ~XlsCellWriter();
  XlsCellWriter(const XlsCellWriter&) = delete;
  XlsCellWriter& operator=(const XlsCellWriter&) = delete;

  // Texts and names longer than 65535 bytes are a programming error (std::length_error).
  void sheet(std::string_view name);
  void cell(uint32_t row, uint16_t column, std::string_view text);
  void end();
  void fault(ReadFault fault, std::string_view detail);
  // Hands over what is buffered.
  void flush();

 private:
  void text(std::string_view bytes);

  std::function<void(std::string_view)> out_;
  std::string buffer_;
};

// The whole stream of a workbook, for tests and seeds.
std::string xlsCellStream(const Workbook& book);

// Reads the stream as it comes. The workbook grows within the limits; a stream that breaks
// them, or breaks the format, is refused at once. Nothing after the end or a refusal is
// looked at.
class XlsCellReader {
 public:
  XlsCellReader(const ReadLimits& limits, const WorkProgress& progress);

  // The next bytes of the stream; false once the outcome is known (ended or refused).
  bool take(std::string_view bytes);
  // The workbook or the refusal; nothing while the stream has neither ended nor broken a
  // rule (the process stopped before it said why).
  std::optional<WorkbookRead> outcome();

 private:
  // The record at the front of pending_, when it is complete: how many bytes it took, 0
  // when more are needed.
  size_t record(std::string_view bytes);
  void refuse(ReadFault fault, std::string detail);
  // Counts the bytes of a name or a cell's text; false when they pass the limit.
  bool countText(size_t length);
  void closeSheet();

  const ReadLimits limits_;
  const WorkProgress progress_;
  std::string pending_;
  bool started_ = false, done_ = false;
  WorkbookRead result_;
  Workbook book_;
  std::optional<SheetFiller> filler_;
  int64_t lastRow_ = -1, lastColumn_ = -1, rowsSeen_ = 0;
  uint64_t cells_ = 0, textBytes_ = 0;
};

// The child's side: reads the .xls file with the library and writes every sheet and every
// cell that holds text to `out`, or the reason it cannot. Returns when the stream is
// complete.
void writeXlsCells(const char* path, XlsCellWriter& out);

// The child's program: `qjroute-xls FILE MEMORY_BYTES SECONDS` writes the stream of the file
// to its standard output, its memory and processor time limited as given (the program sets
// these limits on it as well: a reader that does not set them is bounded all the same).
[[noreturn]] void runXlsReader(int argc, char** argv);

}  // namespace qj::office
