#pragma once
// The text form of a component stream, for people and golden files:
//
//   object Form1: TBoxForm
//     Left = 10
//     Caption = 'It''s'
//     Shades = [shLight, shDeep]
//     Lines.Strings = (
//       'one'
//       'two')
//     Entries = <
//       item
//         Caption = 'first'
//       end>
//     Blob = {
//       0102FF}
//     object Panel1: TBox
//     end
//   end
//
// Strings are quoted with '' for a quote and #n for a control character;
// other bytes (UTF-8) stay as they are. Numbers use "." whatever the
// decimal separator; a single carries the suffix "s", a currency "c" and a
// date "d".
#include "platform/rtl/Exceptions.h"

class TStream;

RTL_DECLARE_EXCEPTION(EParserError, Exception);

// Reads a binary component stream from Input's position and writes its text.
// A malformed stream raises EReadError as reading it would.
void ObjectBinaryToText(TStream* Input, TStream* Output);
// The way back; a malformed text raises EParserError naming the line.
void ObjectTextToBinary(TStream* Input, TStream* Output);
