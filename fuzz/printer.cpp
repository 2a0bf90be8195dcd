// Fuzz target: the text printer's formatting, escape parsing and layout, through its recorder
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "support/FuzzInput.h"
#include "text/Font.h"
#include "text/TextPrinter.h"

// The input chooses the size, position, shadow, box and viewport, then the text, printed as a "%s" argument
// (a ready-made string is never a format of ours) behind a number conversion. The layout must keep its own
// bounds.

namespace {

bool SameAttributes(const TextAttributes& a, const TextAttributes& b) {
  return a.textColor == b.textColor && a.shadowColor == b.shadowColor && a.size == b.size &&
         a.shadow == b.shadow && a.italic == b.italic && a.bold == b.bold && a.boxMode == b.boxMode &&
         a.boxLeft == b.boxLeft && a.boxBottom == b.boxBottom && a.boxWidth == b.boxWidth &&
         a.boxHeight == b.boxHeight;
}

void CheckLayout(const TextLayoutRecord& record, const TextAttributes& used, size_t drawableBytes) {
  const int64_t rightLimit = int64_t{record.viewport[0]} + record.viewport[2];
  size_t glyphs = 0;
  for (const GlyphQuad& quad : record.quads) {
    fuzz::Require(quad.size == used.size, "every quad has the size the Print started with");
    fuzz::Require(quad.slant == 0 || quad.slant == TextPrinter::kItalicSlant, "slant is 0 or 8");
    // The pen is checked before each character; the bold and shadow passes sit at most 2 right.
    fuzz::Require(quad.x <= rightLimit + 2, "no glyph starts past the right edge");
    if (used.boxMode) fuzz::Require(quad.y >= used.boxBottom, "no glyph below the box");
    if (!quad.shadowPass) ++glyphs;
  }
  // Bold draws two glyph passes per character; escapes and controls draw none.
  fuzz::Require(glyphs <= 2 * drawableBytes, "at most two glyph passes per character");
  fuzz::Require(record.scissorSet, "the clipping rectangle is set");
  fuzz::Require(record.scissor[2] >= 0 && record.scissor[3] >= 0, "the clipping rectangle is not negative");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  Font font;
  font.BuildGlyphTable();
  TextPrinter printer(font);
  TextLayoutRecord record;
  printer.SetLayoutRecorder(&record);
  record.viewport = {input.ConsumeIntegralInRange(-64, 64), 0, input.ConsumeIntegralInRange(0, 2048), 768};
  const uint8_t flags = input.ConsumeIntegral<uint8_t>();
  printer.SetSize(flags & 1 ? input.ConsumeIntegral<int>() : input.ConsumeIntegralInRange(-40, 40));
  if (flags & 2) printer.EnableShadow();
  if (flags & 4) printer.SetColorRGBA(0.1f, 0.2f, 0.3f, 0.4f);
  if (flags & 8) {
    const int left = input.ConsumeIntegralInRange(-100, 1100);
    const int top = input.ConsumeIntegralInRange(-100, 900);
    const int width = flags & 16 ? input.ConsumeIntegral<int>() : input.ConsumeIntegralInRange(-50, 1100);
    const int height = flags & 32 ? input.ConsumeIntegral<int>() : input.ConsumeIntegralInRange(-50, 900);
    printer.SetBox(left, top, width, height);
  }
  const int x = flags & 64 ? input.ConsumeIntegral<int>() : input.ConsumeIntegralInRange(-100, 1100);
  const int y = input.ConsumeIntegralInRange(-100, 900);
  const int number = input.ConsumeIntegral<int>();
  const std::string text = input.ConsumeRemainingBytesAsString();

  const TextAttributes used = printer.Attributes();
  printer.Print(x, y, "%d%s", number, text.c_str());
  fuzz::Require(SameAttributes(printer.Attributes(), TextAttributes{}), "attributes are reset after a Print");
  const std::string formatted = std::to_string(number) + text.c_str();  // cut at a zero byte, as %s is
  CheckLayout(record, used, std::min(formatted.size(), TextPrinter::kFormatBufferSize - 1));
  return 0;
}
