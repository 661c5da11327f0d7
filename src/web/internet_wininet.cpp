// Windows: the internet calls go straight to WinINet, each routine bound by
// name from "wininet.dll" at its first call.
#include <windows.h>

#include "web/internet.h"
#include "web/library_routine.h"

namespace {

// The WinINet routines as wininet.h declares them (HINTERNET is a void*).
using InternetOpenA = void*(WINAPI*)(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD);
using InternetConnectA = void*(WINAPI*)(void*, LPCSTR, WORD, LPCSTR, LPCSTR, DWORD, DWORD,
                                        DWORD_PTR);
using HttpOpenRequestA = void*(WINAPI*)(void*, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR*, DWORD,
                                        DWORD_PTR);
using HttpSendRequestA = BOOL(WINAPI*)(void*, LPCSTR, DWORD, LPVOID, DWORD);
using InternetReadFile = BOOL(WINAPI*)(void*, LPVOID, DWORD, LPDWORD);
using HttpQueryInfoA = BOOL(WINAPI*)(void*, DWORD, LPVOID, LPDWORD, LPDWORD);
using InternetCloseHandle = BOOL(WINAPI*)(void*);

template <class Routine>
Routine wininet(const char* name) {
  return reinterpret_cast<Routine>(bindLibraryRoutine("wininet.dll", name));
}

class WinInet final : public InternetApi {
 public:
  InternetHandle open(const char* agent, std::uint32_t accessType, const char* proxy,
                      const char* proxyBypass, std::uint32_t flags) override {
    static const auto routine = wininet<InternetOpenA>("InternetOpenA");
    return routine(agent, accessType, proxy, proxyBypass, flags);
  }

  InternetHandle connect(InternetHandle session, const char* host, std::uint16_t port,
                         const char* user, const char* password, std::uint32_t service,
                         std::uint32_t flags, std::uintptr_t context) override {
    static const auto routine = wininet<InternetConnectA>("InternetConnectA");
    return routine(session, host, port, user, password, service, flags, context);
  }

  InternetHandle openRequest(InternetHandle connection, const char* verb, const char* path,
                             const char* version, const char* referrer, const char** acceptTypes,
                             std::uint32_t flags, std::uintptr_t context) override {
    static const auto routine = wininet<HttpOpenRequestA>("HttpOpenRequestA");
    return routine(connection, verb, path, version, referrer, acceptTypes, flags, context);
  }

  bool send(InternetHandle request, const char* headers, std::uint32_t headersLength,
            const void* body, std::uint32_t bodyLength) override {
    static const auto routine = wininet<HttpSendRequestA>("HttpSendRequestA");
    // WinINet only reads the body, though its parameter is not const.
    return routine(request, headers, headersLength, const_cast<void*>(body), bodyLength) != FALSE;
  }

  bool read(InternetHandle request, void* buffer, std::uint32_t size,
            std::uint32_t* count) override {
    static const auto routine = wininet<InternetReadFile>("InternetReadFile");
    DWORD n = 0;
    const bool ok = routine(request, buffer, size, &n) != FALSE;
    *count = n;  // a failed read may still have filled part of the buffer
    return ok;
  }

  bool queryInfo(InternetHandle request, std::uint32_t infoLevel, void* buffer,
                 std::uint32_t* length, std::uint32_t* index) override {
    static const auto routine = wininet<HttpQueryInfoA>("HttpQueryInfoA");
    DWORD n = *length;
    DWORD at = index != nullptr ? *index : 0;
    if (routine(request, infoLevel, buffer, &n, index != nullptr ? &at : nullptr) != FALSE) {
      *length = n;
      if (index != nullptr) *index = at;
      return true;
    }
    if (GetLastError() == ERROR_INSUFFICIENT_BUFFER) *length = n;
    return false;
  }

  bool close(InternetHandle handle) override {
    static const auto routine = wininet<InternetCloseHandle>("InternetCloseHandle");
    return routine(handle) != FALSE;
  }
};

}  // namespace

InternetApi& platformInternetApi() {
  static WinInet api;
  return api;
}
