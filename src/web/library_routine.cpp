#include "web/library_routine.h"

#include "text/fatal_error.h"
#include "text/text.h"

void failToBindLibraryRoutine(const char* library, const char* name) {
  // 无法找到指定DLL库文件“%s”中的输出命令“%s”
  fatalError(0,
             concatText(Text("\xCE\xDE\xB7\xA8\xD5\xD2\xB5\xBD\xD6\xB8\xB6\xA8"
                             "DLL\xBF\xE2\xCE\xC4\xBC\xFE\xA1\xB0"),
                        library, "\xA1\xB1\xD6\xD0\xB5\xC4\xCA\xE4\xB3\xF6\xC3\xFC\xC1\xEE\xA1\xB0",
                        name, "\xA1\xB1"));
}
