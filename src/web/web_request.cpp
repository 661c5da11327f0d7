#include "web/web_request.h"

#include <algorithm>
#include <cstdint>

#include "text/bytes.h"
#include "text/text.h"
#include "web/cookies.h"
#include "web/headers.h"
#include "web/internet.h"
#include "web/url.h"

namespace {

constexpr const char* verbs[] = {"GET",     "POST",   "HEAD",  "PUT",
                                 "OPTIONS", "DELETE", "TRACE", "CONNECT"};
constexpr std::uint32_t readSize = 1024;
constexpr std::uint32_t rawHeadersSize = 5000;

// An open internet handle, closed when it goes out of scope; declared session,
// connection, request, they close request first.
class OpenHandle {
 public:
  OpenHandle(InternetApi& api, InternetHandle handle) : api_(api), handle_(handle) {}
  OpenHandle(const OpenHandle&) = delete;
  OpenHandle& operator=(const OpenHandle&) = delete;
  ~OpenHandle() {
    if (handle_ != nullptr) api_.close(handle_);
  }
  InternetHandle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  InternetApi& api_;
  InternetHandle handle_;
};

const char* orNull(const Text& t) {
  return t.empty() ? nullptr : t.c_str();
}

std::uint32_t requestFlags(bool cookiesGiven, bool noRedirect, bool secure) {
  std::uint32_t flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE;
  if (cookiesGiven) flags |= INTERNET_FLAG_NO_COOKIES;
  if (noRedirect) flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
  flags |= secure ? INTERNET_FLAG_SECURE : INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
  return flags;
}

// The body in reads of 1024 bytes, appended in order until a read gives 0. A
// failed read ends the body after the bytes it delivered before failing.
Bytes readBody(InternetApi& api, InternetHandle request) {
  Bytes buffer = blankBytes(readSize);
  Bytes body;
  for (;;) {
    std::uint32_t count = 0;
    const bool ok = api.read(request, buffer.data(), readSize, &count);
    body.append(buffer.view().substr(0, std::min(count, readSize)));
    if (!ok || count == 0) return body;
  }
}

// The raw response header block, up to the zero the platform wrote. A block
// larger than the 5000 bytes first offered is asked for again at the size the
// platform reports, so its cookies are not lost; a failed query gives "".
Text queryRawHeaders(InternetApi& api, InternetHandle request) {
  std::uint32_t size = rawHeadersSize;
  for (int attempt = 1; attempt <= 2; ++attempt) {
    Bytes buffer = blankBytes(static_cast<int>(size));
    std::uint32_t length = size;
    if (api.queryInfo(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &length, nullptr)) {
      return bytesToText(buffer);
    }
    if (length <= size || length > INT32_MAX) return {};  // failed, not too small
    size = length;
  }
  return {};
}

}  // namespace

Bytes webRequest(const Text& url, const WebRequestOptions& options) {
  // Omitted in-out and out parameters are temporaries, dropped at the end.
  Text headersHere, newCookiesHere, responseHeadersHere;
  Bytes byteBodyHere;
  Text& headers = options.headers != nullptr ? *options.headers : headersHere;
  Text& newCookies = options.newCookies != nullptr ? *options.newCookies : newCookiesHere;
  Text& responseHeaders =
      options.responseHeaders != nullptr ? *options.responseHeaders : responseHeadersHere;
  Bytes& byteBody = options.byteBody != nullptr ? *options.byteBody : byteBodyHere;

  const int method = options.method < 0 || options.method > 7 ? 0 : options.method;
  const bool secure = urlIsSecure(url);
  const Text agent = selectUserAgent(headers);  // from the caller's text, before completion
  InternetApi& api = internetApi();
  Bytes body;
  {
    const bool direct = options.proxy.empty();
    // An http URL takes the proxy for http only; a secure one for every scheme.
    const Text proxy = direct || secure ? options.proxy : concatText(Text("http="), options.proxy);
    const OpenHandle session(
        api, api.open(orNull(agent), direct ? INTERNET_OPEN_TYPE_DIRECT : INTERNET_OPEN_TYPE_PROXY,
                      direct ? nullptr : proxy.c_str(), direct ? nullptr : "", 0));
    if (!session) return {};
    const OpenHandle connection(api, api.connect(session.get(), urlHost(url).c_str(),
                                                 static_cast<std::uint16_t>(urlPort(url)), nullptr,
                                                 nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return {};
    const std::uint32_t flags =
        requestFlags(options.cookies != nullptr, options.noRedirect, secure);
    const OpenHandle request(
        api, api.openRequest(connection.get(), verbs[method], urlPath(url).c_str(), "HTTP/1.1",
                             nullptr, nullptr, flags, 0));
    if (!request) return {};

    // Nothing of the caller's is written before the request handle exists.
    if (options.completeHeaders) completeHeaderText(&headers, method, url);
    if (options.normalizeHeaderText) headers = normalizeHeaders(headers);
    if (options.cookies != nullptr && !options.cookies->empty()) {
      appendCookieHeader(&headers, *options.cookies);
    }
    // GET never sends a body; the other methods send byteBody, or else
    // textBody's bytes, which the caller's byteBody then holds.
    const Bytes noBody;
    const Bytes* sent = &noBody;
    if (method != 0) {
      if (byteBody.empty()) byteBody = textToBytes(options.textBody);
      sent = &byteBody;
    }
    api.send(request.get(), headers.c_str(), static_cast<std::uint32_t>(textLength(headers)),
             sent->data(), static_cast<std::uint32_t>(bytesLength(*sent)));
    body = readBody(api, request.get());
    responseHeaders = queryRawHeaders(api, request.get());
  }
  newCookies = collectSetCookies(responseHeaders);
  if (options.mergeNewCookies && options.cookies != nullptr) {
    newCookies = mergeCookies(options.cookies, &newCookies);
  }
  return body;
}
