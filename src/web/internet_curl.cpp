// Linux: the internet calls over libcurl, behaving as the WinINet calls do for
// all that a web request relies on. The request goes out at send as HTTP/1.1
// with the request line, Host, Content-Length when a body goes with it, the
// session's agent and the header text's lines as given, and nothing libcurl
// would add of its own. send waits for the final response's headers; the body
// then streams through read, never more than about half a megabyte ahead of it.
//
// libcurl is not linked: each routine is bound by name from "libcurl.so.4" at
// its first call (web/library_routine.h), so a run that downloads nothing does
// not load libcurl and the thirty libraries it needs. curl/curl.h gives the
// types, the constants and, through decltype, each routine's exact type.
#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "text/alloc.h"
#include "web/internet.h"
#include "web/library_routine.h"

namespace {

// The routine `name` of libcurl, as curl/curl.h declares it (`Routine`).
template <class Routine>
Routine* libcurl(const char* name) {
  return reinterpret_cast<Routine*>(bindLibraryRoutine("libcurl.so.4", name));
}

// Bytes of the body libcurl asks the network for at once. Larger than its
// default of 16 KiB: each receive also costs libcurl a poll of the socket.
constexpr long receiveBufferSize = 128 * 1024;
// Bytes of the body held for read: beyond them the transfer pauses until read
// has taken them all. libcurl receives as long as the socket has data, so
// without a bound the bytes held would grow with the server's speed, each
// time in fresh memory, which is slow to touch; bounded, the same block is
// reused and stays in the cache.
constexpr std::size_t heldBodyBound = 512 * 1024;

struct EasyCleanup {
  void operator()(CURL* easy) const {
    static const auto routine = libcurl<decltype(curl_easy_cleanup)>("curl_easy_cleanup");
    routine(easy);
  }
};
struct MultiCleanup {
  void operator()(CURLM* multi) const {
    static const auto routine = libcurl<decltype(curl_multi_cleanup)>("curl_multi_cleanup");
    routine(multi);
  }
};
struct ListCleanup {
  void operator()(curl_slist* list) const {
    static const auto routine = libcurl<decltype(curl_slist_free_all)>("curl_slist_free_all");
    routine(list);
  }
};
using CurlEasy = std::unique_ptr<CURL, EasyCleanup>;
using CurlMulti = std::unique_ptr<CURLM, MultiCleanup>;
using CurlList = std::unique_ptr<curl_slist, ListCleanup>;

// Header lines for libcurl; once a line cannot be stored, ok() stays false.
class HeaderLines {
 public:
  void add(const std::string& line) {
    static const auto append = libcurl<decltype(curl_slist_append)>("curl_slist_append");
    curl_slist* longer = ok_ ? append(list_.get(), line.c_str()) : nullptr;
    ok_ = longer != nullptr;
    if (ok_) {
      (void)list_.release();  // now owned by `longer`
      list_.reset(longer);
    }
  }
  curl_slist* get() const { return list_.get(); }
  bool ok() const { return ok_; }

 private:
  CurlList list_;
  bool ok_ = true;
};

// Options for one easy handle; once one is refused, ok() stays false.
class EasyOptions {
 public:
  explicit EasyOptions(CURL* easy) : easy_(easy) {}
  template <class Value>
  void set(CURLoption option, Value value) {
    ok_ = ok_ && setopt()(easy_, option, value) == CURLE_OK;
  }
  bool ok() const { return ok_; }

 private:
  // One binding for every type of value.
  static decltype(curl_easy_setopt)* setopt() {
    static const auto routine = libcurl<decltype(curl_easy_setopt)>("curl_easy_setopt");
    return routine;
  }

  CURL* easy_;
  bool ok_ = true;
};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
           return fold(x) == fold(y);
         });
}

std::string copyOf(const char* s) {
  return s != nullptr ? std::string(s) : std::string();
}

struct Session {
  std::string agent;  // "": no User-Agent line
  bool proxied = false;
  std::string proxy;
};

struct Connection {
  Session session;
  std::string host;
  std::uint16_t port = 0;
};

// One request; it lives at one address from send on, as libcurl calls back into it.
struct Request {
  Connection connection;
  std::string verb;
  std::string path;
  std::uint32_t flags = 0;

  // Declared before the handles, so that they outlive them.
  HeaderLines headerLines;
  HeaderLines proxyLines;
  CurlMulti multi;
  CurlEasy easy;
  bool attached = false;

  // Filled by libcurl's callbacks, which must not throw: memory that cannot be
  // had ends the program, as everywhere else.
  ByteString received;  // body bytes not yet handed to read
  std::size_t readAt = 0;
  ByteString headerBlock;  // the latest response's status and header lines
  bool headerBlockEnded = false;
  bool done = false;
  bool failed = false;
  bool paused = false;  // by onBodyBytes, holding heldBodyBound bytes

  Request() = default;
  Request(const Request&) = delete;
  Request& operator=(const Request&) = delete;
  ~Request() {
    static const auto remove =
        libcurl<decltype(curl_multi_remove_handle)>("curl_multi_remove_handle");
    if (attached) remove(multi.get(), easy.get());
  }
};

struct Handle {
  std::variant<Session, Connection, Request> object;
};

template <class T>
T* handleAs(InternetHandle handle) {
  return handle != nullptr ? std::get_if<T>(&static_cast<Handle*>(handle)->object) : nullptr;
}

// The proxy for the URL's scheme: "scheme=HOST:PORT" serves that scheme only,
// a plain "HOST:PORT" every scheme; "" for none. The bypass list is not read:
// the one caller gives an empty one, which bypasses nothing.
std::string proxyFor(const Session& session, bool secure) {
  if (!session.proxied) return {};
  std::string_view proxy = session.proxy;
  const std::size_t equals = proxy.find('=');
  if (equals != std::string_view::npos) {
    if (!equalsIgnoringCase(proxy.substr(0, equals), secure ? "https" : "http")) return {};
    proxy.remove_prefix(equals + 1);
  }
  return std::string(proxy);
}

// Letters, digits, ".", "-" and "_" only: anything else could change what
// libcurl reads out of the URL (a user name before "@", another port).
bool plainHostName(std::string_view host) {
  return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
  });
}

size_t onHeaderLine(char* data, size_t size, size_t count, void* user) {
  Request& request = *static_cast<Request*>(user);
  std::string_view line(data, size * count);
  if (line.substr(0, 5) == "HTTP/") {  // a new response: after a 1xx or a followed redirect
    request.headerBlock.clear();
    request.headerBlockEnded = false;
  } else if (request.headerBlockEnded) {
    return size * count;  // trailers after a chunked body are not part of the block
  }
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  request.headerBlock.append(line.data(), line.size()).append("\r\n");
  if (line.empty()) request.headerBlockEnded = true;
  return size * count;
}

size_t onBodyBytes(char* data, size_t size, size_t count, void* user) {
  Request& request = *static_cast<Request*>(user);
  if (request.received.size() - request.readAt >= heldBodyBound) {
    request.paused = true;
    return CURL_WRITEFUNC_PAUSE;  // libcurl keeps the bytes and offers them again
  }
  request.received.append(data, size * count);
  return size * count;
}

// The lines of the header text as libcurl takes them, "\r\n" between them. A
// lone CR or LF also ends a line, so none reaches the wire inside a header; a
// line without a name before a ":" is left out, and an empty value is written
// "Name;", libcurl's way of sending "Name:". True when a line names the agent.
bool addHeaderText(HeaderLines* lines, std::string_view text) {
  bool namesAgent = false;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) continue;
    const std::string_view name = line.substr(0, colon);
    namesAgent = namesAgent || equalsIgnoringCase(name, "User-Agent");
    const bool blank = line.find_first_not_of(" \t", colon + 1) == std::string_view::npos;
    lines->add(blank ? std::string(name) + ";" : std::string(line));
  }
  return namesAgent;
}

// The request's lines, in WinINet's order: (libcurl's Host,) Content-Length
// when a body goes with the request, the session's agent, the header text.
// HEAD goes without a body, as libcurl sends it. False when a line of the header
// text could not be stored.
bool addRequestLines(Request& request, std::string_view headerText, bool withBody,
                     std::uint32_t bodyLength) {
  HeaderLines& lines = request.headerLines;
  // Lines libcurl would add by itself are switched off by naming them empty;
  // such entries are never sent, whatever the header text holds.
  lines.add("Expect:");
  lines.add("Accept:");
  lines.add("Content-Type:");
  if (withBody) {
    lines.add("Content-Length: " + std::to_string(request.verb == "HEAD" ? 0 : bodyLength));
  }
  HeaderLines text;
  const bool namesAgent = addHeaderText(&text, headerText);
  // The header text's own User-Agent line takes the place of the session's.
  const std::string& agent = request.connection.session.agent;
  if (!agent.empty() && !namesAgent) lines.add("User-Agent: " + agent);
  for (const curl_slist* line = text.get(); line != nullptr; line = line->next)
    lines.add(line->data);
  return text.ok();
}

std::string requestUrl(const Request& request, bool secure) {
  const Connection& connection = request.connection;
  std::string url = secure ? "https://" : "http://";
  url += connection.host;
  if (connection.port != 0) url += ":" + std::to_string(connection.port);
  if (request.path.empty() || request.path[0] != '/') url += "/";
  return url + request.path;
}

// Sets up the transfer of a request; false when it cannot even be started.
bool prepare(Request& request, std::string_view headerText, const void* body,
             std::uint32_t bodyLength) {
  const bool secure = (request.flags & INTERNET_FLAG_SECURE) != 0;
  if (!plainHostName(request.connection.host)) return false;
  static const auto multiInit = libcurl<decltype(curl_multi_init)>("curl_multi_init");
  static const auto easyInit = libcurl<decltype(curl_easy_init)>("curl_easy_init");
  static const auto addHandle = libcurl<decltype(curl_multi_add_handle)>("curl_multi_add_handle");
  request.multi.reset(multiInit());
  request.easy.reset(easyInit());
  if (request.multi == nullptr || request.easy == nullptr) return false;
  const bool head = request.verb == "HEAD";
  const bool withBody = head || request.verb != "GET" || bodyLength > 0;
  const bool linesStored = addRequestLines(request, headerText, withBody, bodyLength);

  EasyOptions o(request.easy.get());
  const std::string url = requestUrl(request, secure);
  o.set(CURLOPT_URL, url.c_str());
  o.set(CURLOPT_PATH_AS_IS, 1L);
  o.set(CURLOPT_PROTOCOLS_STR, "http,https");
  o.set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  o.set(CURLOPT_HTTPHEADER, request.headerLines.get());
  // The body arrives exactly as sent: no decoding of a Content-Encoding.
  o.set(CURLOPT_HTTP_CONTENT_DECODING, 0L);
  // Redirects are followed, up to a bound, unless forbidden. Security: a
  // secure request never follows one to plain http, as WinINet refuses it
  // unless told otherwise (INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP).
  o.set(CURLOPT_FOLLOWLOCATION, (request.flags & INTERNET_FLAG_NO_AUTO_REDIRECT) != 0 ? 0L : 1L);
  o.set(CURLOPT_MAXREDIRS, 30L);
  o.set(CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
  // Security: the server's certificate chain and host name are checked against
  // the system's trust store; no trust anchor of our own is ever added.
  o.set(CURLOPT_SSL_VERIFYPEER, 1L);
  o.set(CURLOPT_SSL_VERIFYHOST, 2L);
  // The time limits of Windows' own HTTP stacks: 60 s to connect, and 30 s
  // without a byte ends the exchange, so a stalled server cannot hold the
  // window for good.
  o.set(CURLOPT_CONNECTTIMEOUT, 60L);
  o.set(CURLOPT_LOW_SPEED_LIMIT, 1L);
  o.set(CURLOPT_LOW_SPEED_TIME, 30L);
  o.set(CURLOPT_NOSIGNAL, 1L);
  o.set(CURLOPT_HEADERFUNCTION, onHeaderLine);
  o.set(CURLOPT_HEADERDATA, &request);
  o.set(CURLOPT_WRITEFUNCTION, onBodyBytes);
  o.set(CURLOPT_WRITEDATA, &request);
  o.set(CURLOPT_BUFFERSIZE, receiveBufferSize);

  // A direct session ignores the environment's proxy variables ("" turns
  // them off); a proxy serves every host, whatever NO_PROXY says.
  const std::string proxy = proxyFor(request.connection.session, secure);
  o.set(CURLOPT_PROXY, proxy.c_str());
  if (!proxy.empty()) {
    request.proxyLines.add("Proxy-Connection:");
    o.set(CURLOPT_NOPROXY, "");
    o.set(CURLOPT_HEADEROPT, static_cast<long>(CURLHEADER_SEPARATE));
    o.set(CURLOPT_PROXYHEADER, request.proxyLines.get());
    o.set(CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    // The agent of a tunnel's CONNECT request; the request itself has its line.
    const std::string& agent = request.connection.session.agent;
    if (!agent.empty()) o.set(CURLOPT_USERAGENT, agent.c_str());
  }
  // The platform's cookies: none with INTERNET_FLAG_NO_COOKIES, else a store in
  // memory for this one request (redirects carry what was set on the way).
  if ((request.flags & INTERNET_FLAG_NO_COOKIES) == 0) o.set(CURLOPT_COOKIEFILE, "");

  if (head) {
    o.set(CURLOPT_NOBODY, 1L);
  } else if (withBody) {
    o.set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(bodyLength));
    o.set(CURLOPT_COPYPOSTFIELDS, body != nullptr ? static_cast<const char*>(body) : "");
    if (request.verb != "POST") o.set(CURLOPT_CUSTOMREQUEST, request.verb.c_str());
  } else {
    o.set(CURLOPT_HTTPGET, 1L);
  }
  if (!o.ok() || !linesStored || !request.headerLines.ok() || !request.proxyLines.ok() ||
      addHandle(request.multi.get(), request.easy.get()) != CURLM_OK) {
    return false;
  }
  request.attached = true;
  return true;
}

// Runs the transfer a step further, waiting for the network when nothing is
// left to hand out.
void advance(Request& request) {
  static const auto pause = libcurl<decltype(curl_easy_pause)>("curl_easy_pause");
  static const auto perform = libcurl<decltype(curl_multi_perform)>("curl_multi_perform");
  static const auto infoRead = libcurl<decltype(curl_multi_info_read)>("curl_multi_info_read");
  static const auto multiPoll = libcurl<decltype(curl_multi_poll)>("curl_multi_poll");
  if (request.paused) {  // read has taken all that was held: go on
    request.paused = false;
    if (pause(request.easy.get(), CURLPAUSE_CONT) != CURLE_OK) {
      request.done = request.failed = true;
      return;
    }
    if (request.readAt != request.received.size()) return;  // the bytes libcurl kept
  }
  int running = 0;
  if (perform(request.multi.get(), &running) != CURLM_OK) {
    request.done = request.failed = true;
    return;
  }
  if (running == 0) {
    int left = 0;
    while (CURLMsg* message = infoRead(request.multi.get(), &left)) {
      if (message->msg == CURLMSG_DONE && message->data.result != CURLE_OK) request.failed = true;
    }
    request.done = true;
    return;
  }
  if (request.readAt == request.received.size()) {
    multiPoll(request.multi.get(), nullptr, 0, 1000, nullptr);
  }
}

class CurlInternet final : public InternetApi {
 public:
  InternetHandle open(const char* agent, std::uint32_t accessType, const char* proxy, const char*,
                      std::uint32_t) override {
    return new Handle{Session{.agent = copyOf(agent),
                              .proxied = accessType == INTERNET_OPEN_TYPE_PROXY,
                              .proxy = copyOf(proxy)}};
  }

  InternetHandle connect(InternetHandle session, const char* host, std::uint16_t port, const char*,
                         const char*, std::uint32_t service, std::uint32_t,
                         std::uintptr_t) override {
    const Session* s = handleAs<Session>(session);
    if (s == nullptr || service != INTERNET_SERVICE_HTTP) return nullptr;
    return new Handle{Connection{.session = *s, .host = copyOf(host), .port = port}};
  }

  InternetHandle openRequest(InternetHandle connection, const char* verb, const char* path,
                             const char*, const char*, const char**, std::uint32_t flags,
                             std::uintptr_t) override {
    const Connection* c = handleAs<Connection>(connection);
    if (c == nullptr) return nullptr;
    auto* handle = new Handle;
    Request& request = handle->object.emplace<Request>();
    request.connection = *c;
    request.verb = verb != nullptr ? verb : "GET";
    request.path = copyOf(path);
    request.flags = flags;
    return handle;
  }

  bool send(InternetHandle handle, const char* headers, std::uint32_t headersLength,
            const void* body, std::uint32_t bodyLength) override {
    Request* request = handleAs<Request>(handle);
    if (request == nullptr || request->easy != nullptr) return false;
    const std::string_view headerText =
        headers != nullptr ? std::string_view(headers, headersLength) : std::string_view();
    if (!prepare(*request, headerText, body, bodyLength)) {
      request->done = request->failed = true;
      return false;
    }
    while (!request->done && request->received.empty()) advance(*request);
    return !request->failed;
  }

  bool read(InternetHandle handle, void* buffer, std::uint32_t size,
            std::uint32_t* count) override {
    *count = 0;
    Request* request = handleAs<Request>(handle);
    if (request == nullptr || request->easy == nullptr) return false;
    while (request->readAt == request->received.size() && !request->done) advance(*request);
    const std::size_t n = std::min<std::size_t>(size, request->received.size() - request->readAt);
    if (n == 0) return !request->failed;
    std::memcpy(buffer, request->received.data() + request->readAt, n);
    request->readAt += n;
    if (request->readAt == request->received.size()) {
      request->received.clear();
      request->readAt = 0;
    }
    *count = static_cast<std::uint32_t>(n);
    return true;
  }

  bool queryInfo(InternetHandle handle, std::uint32_t infoLevel, void* buffer,
                 std::uint32_t* length, std::uint32_t*) override {
    const Request* request = handleAs<Request>(handle);
    if (request == nullptr || infoLevel != HTTP_QUERY_RAW_HEADERS_CRLF ||
        !request->headerBlockEnded) {
      return false;
    }
    const ByteString& block = request->headerBlock;
    if (*length < block.size() + 1) {
      *length = static_cast<std::uint32_t>(block.size() + 1);
      return false;
    }
    std::memcpy(buffer, block.c_str(), block.size() + 1);
    *length = static_cast<std::uint32_t>(block.size());
    return true;
  }

  bool close(InternetHandle handle) override {
    if (handle == nullptr) return false;
    delete static_cast<Handle*>(handle);
    return true;
  }
};

struct CurlLibrary {
  CurlLibrary() {
    static const auto init = libcurl<decltype(curl_global_init)>("curl_global_init");
    init(CURL_GLOBAL_DEFAULT);
  }
  ~CurlLibrary() {
    static const auto cleanup = libcurl<decltype(curl_global_cleanup)>("curl_global_cleanup");
    cleanup();
  }
  CurlLibrary(const CurlLibrary&) = delete;
  CurlLibrary& operator=(const CurlLibrary&) = delete;
};

}  // namespace

InternetApi& platformInternetApi() {
  static CurlLibrary library;
  static CurlInternet api;
  return api;
}
