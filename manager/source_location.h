#pragma once
// Where each of the core services' exceptions is reported from. A message
// names a fixed source unit and line so that what users see does not change
// when code moves; each throw site uses one of these pairs.

namespace demo::source {

struct Location {
    const char* unit;
    int line;
};

inline constexpr const char* kFileIo = "manager/fileio";
inline constexpr const char* kAsciiReader = "manager/ascii_reader";
inline constexpr const char* kProcess = "manager/process";
inline constexpr const char* kProgressBar = "manager/progress_bar";
inline constexpr const char* kBinaryReader = "manager/binary_reader";
inline constexpr const char* kDemoPlayer = "manager/demo_player";

// manager/fileio
inline constexpr Location kResourceMissing{kFileIo, 19};
inline constexpr Location kCannotInitZlib{kFileIo, 113};
inline constexpr Location kDataCorrupted{kFileIo, 126};

// manager/ascii_reader
inline constexpr Location kNumberExpected{kAsciiReader, 142};
inline constexpr Location kStringExpected{kAsciiReader, 149};
inline constexpr Location kQuotedStringExpected{kAsciiReader, 156};
inline constexpr Location kStringOrQuotedExpected{kAsciiReader, 163};
inline constexpr Location kSymbolExpected{kAsciiReader, 210};
inline constexpr Location kOneOfStringsExpected{kAsciiReader, 238};
inline constexpr Location kParameterNameExpected{kAsciiReader, 250};
inline constexpr Location kOneOfIndexValuesExpected{kAsciiReader, 287};
inline constexpr Location kOneOfValuesExpected{kAsciiReader, 304};
inline constexpr Location kTextParameterExpected{kAsciiReader, 314};
inline constexpr Location kIntegerListNumberExpected{kAsciiReader, 340};
inline constexpr Location kFloatListNumberExpected{kAsciiReader, 353};
inline constexpr Location kOneOfParametersExpected{kAsciiReader, 370};

// manager/process
inline constexpr Location kUnknownProcessType{kProcess, 34};

// manager/progress_bar
inline constexpr Location kProgressFileMissing{kProgressBar, 108};

// manager/binary_reader
inline constexpr Location kBinaryReadPastEnd{kBinaryReader, 29};
inline constexpr Location kBinarySkipPastEnd{kBinaryReader, 26};
inline constexpr Location kBinaryBlockPastEnd{kBinaryReader, 31};

}  // namespace demo::source
