#pragma once
// The seven operations of the platform's internet library that a web request
// needs, in the shapes and calling order of the Windows library (WinINet), all
// synchronous. One backend per port: web/internet_wininet.cpp binds WinINet
// itself, web/internet_curl.cpp behaves as those calls do over libcurl. Tests
// install a recording fake with setInternetApi.
//
// Handles are opaque; each backend keeps what stands behind them to itself. A
// handle is released with close, request first, then connection, then session.

#include <cstdint>

using InternetHandle = void*;

// Access types of open.
inline constexpr std::uint32_t INTERNET_OPEN_TYPE_DIRECT = 1;
inline constexpr std::uint32_t INTERNET_OPEN_TYPE_PROXY = 3;
// The service of connect.
inline constexpr std::uint32_t INTERNET_SERVICE_HTTP = 3;
// Request flags of openRequest, combined with "|".
inline constexpr std::uint32_t INTERNET_FLAG_RELOAD = 0x80000000;
inline constexpr std::uint32_t INTERNET_FLAG_NEED_FILE = 0x00000010;
inline constexpr std::uint32_t INTERNET_FLAG_NO_COOKIES = 0x00080000;
inline constexpr std::uint32_t INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000;
inline constexpr std::uint32_t INTERNET_FLAG_SECURE = 0x00800000;
inline constexpr std::uint32_t INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS = 0x00004000;
// The information level of queryInfo: the raw response header block.
inline constexpr std::uint32_t HTTP_QUERY_RAW_HEADERS_CRLF = 22;

struct InternetApi {
  virtual ~InternetApi() = default;

  // InternetOpenA: a session. A null agent sends no User-Agent line. With
  // INTERNET_OPEN_TYPE_PROXY, `proxy` is "HOST:PORT" for every URL or
  // "http=HOST:PORT" for http URLs only; `proxyBypass` lists hosts reached
  // directly. Null on failure.
  virtual InternetHandle open(const char* agent, std::uint32_t accessType, const char* proxy,
                              const char* proxyBypass, std::uint32_t flags) = 0;

  // InternetConnectA: a connection to host:port (port 0: the scheme's own).
  // Nothing goes over the network yet. Null on failure.
  virtual InternetHandle connect(InternetHandle session, const char* host, std::uint16_t port,
                                 const char* user, const char* password, std::uint32_t service,
                                 std::uint32_t flags, std::uintptr_t context) = 0;

  // HttpOpenRequestA: a request for `path` (with its query) by `verb`, over TLS
  // with INTERNET_FLAG_SECURE. Nothing goes over the network yet. Null on failure.
  virtual InternetHandle openRequest(InternetHandle connection, const char* verb, const char* path,
                                     const char* version, const char* referrer,
                                     const char** acceptTypes, std::uint32_t flags,
                                     std::uintptr_t context) = 0;

  // HttpSendRequestA: sends the request with the header lines ("\r\n" between
  // them) and the body, and waits for the response's status and headers.
  // False when no response came (refused, unreachable, TLS check failed).
  virtual bool send(InternetHandle request, const char* headers, std::uint32_t headersLength,
                    const void* body, std::uint32_t bodyLength) = 0;

  // InternetReadFile: the next at most `size` bytes of the body into `buffer`
  // and their number into *count; *count 0 at the end of the body. A read that
  // fails (returns false) counts the bytes it wrote before the failure, as
  // WinINet does when the connection is reset part-way through the buffer.
  virtual bool read(InternetHandle request, void* buffer, std::uint32_t size,
                    std::uint32_t* count) = 0;

  // HttpQueryInfoA with HTTP_QUERY_RAW_HEADERS_CRLF: the final response's status
  // line and header lines, each ended by "\r\n", then an empty line, written
  // zero-terminated into the *length bytes at `buffer`; *length then holds the
  // bytes written before the zero. When they do not fit it returns false with
  // *length set to the size needed, zero included; on any other failure it
  // returns false and leaves *length alone.
  virtual bool queryInfo(InternetHandle request, std::uint32_t infoLevel, void* buffer,
                         std::uint32_t* length, std::uint32_t* index) = 0;

  // InternetCloseHandle.
  virtual bool close(InternetHandle handle) = 0;
};

// The installed backend, else the port's own.
InternetApi& internetApi();
// Installs a backend (tests); null restores the port's own.
void setInternetApi(InternetApi* api);
// The port's own backend, defined by the port's file.
InternetApi& platformInternetApi();
