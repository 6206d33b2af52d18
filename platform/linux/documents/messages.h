#pragma once

// The reasons shown to the user when a document cannot be used. Kept in one
// place so the wording stays consistent across formats.

namespace cw::documents::messages {

inline constexpr char const* kNoText = "The document has no text.";
inline constexpr char const* kPasswordProtected =
    "The document is password-protected. Remove the password in your word "
    "processor, save it, and open it again.";
inline constexpr char const* kTooLarge =
    "The document is too large to open (more than 64 MiB of content).";
inline constexpr char const* kFileTooLarge = "The file is too large to open.";
inline constexpr char const* kCannotOpen = "The file could not be opened.";
inline constexpr char const* kUnsupportedType =
    "This kind of file is not supported. Use a .txt, .rtf, .docx or .doc file.";

inline constexpr char const* kNotRtf = "The file is not a valid RTF document.";

inline constexpr char const* kNotDocx = "The file is not a valid .docx document.";
inline constexpr char const* kDamagedDocx =
    "The .docx document is damaged or incomplete and could not be read.";
inline constexpr char const* kNotWordDocx =
    "The file is a zip package but not a Word document.";

inline constexpr char const* kNotDoc = "The file is not a Word document.";
inline constexpr char const* kDamagedDoc =
    "The Word document is damaged and could not be read.";
inline constexpr char const* kOldWordFormat =
    "This document was saved in the Word 6 or Word 95 format, which is not "
    "supported. Save it as .docx in your word processor and open it again.";

}  // namespace cw::documents::messages
