#include "serve/WebServer.h"

#include <fcntl.h>
#include <httplib.h>

#include <cmath>
#include <new>
#include <semaphore>
#include <set>
#include <string_view>
#include <vector>

#include "WebDocument.h"
#include "WebEditor.h"
#include "WebStarter.h"
#include "platform/text/Text.h"
#include "serve/FlatJson.h"
#include "serve/PageStore.h"
#include "serve/WebAssets.h"

namespace cli::serve {

namespace {

using httplib::Request;
using httplib::Response;

// The JSON bodies the page sends (settings with notes, a typed reading) are
// small; notes of a few pages of text fit many times over.
constexpr size_t kJsonBodyLimit = 64 * 1024;

constexpr const char* kJson = "application/json; charset=utf-8";

const char* kDroppedText =
    "the server no longer holds this page's files: it lets go of a page unused for an hour, or of the one unused "
    "longest when it needs the room. Open the files again.";

const char* kUnknownPageText = "the server holds no document for this page: reload the page, or open the files again.";

void answer(Response& res, int status, const std::string& text) {
  res.status = status;
  res.set_content("{\"error\":" + jsonString(text) + "}", kJson);
}

// A refusal before the request was read through: the connection is not
// used again, since the rest of the request may still be on its way.
void refuse(Response& res, int status, const std::string& text) {
  answer(res, status, text);
  res.set_header("Connection", "close");
}

// The same length and bytes, compared in a time that does not tell how much
// of a guess was right.
bool sameSecret(std::string_view given, std::string_view secret) {
  if (given.size() != secret.size()) return false;
  volatile unsigned char differ = 0;
  for (size_t i = 0; i < secret.size(); ++i)
    differ = differ | static_cast<unsigned char>(given[i] ^ secret[i]);
  return differ == 0;
}

// The value of cookie `name` in a Cookie header ("a=1; b=2"); each one
// that has the name, since a browser may send two of the same name.
std::vector<std::string> cookieValues(const std::string& header, const std::string& name) {
  std::vector<std::string> values;
  size_t start = 0;
  while (start <= header.size()) {
    size_t end = header.find(';', start);
    if (end == std::string::npos) end = header.size();
    std::string_view part(header.data() + start, end - start);
    while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
    if (part.size() > name.size() && part.substr(0, name.size()) == name && part[name.size()] == '=')
      values.emplace_back(part.substr(name.size() + 1));
    start = end + 1;
  }
  return values;
}

bool isLoopback(const std::string& address) { return address == "::1" || address.rfind("127.", 0) == 0; }

std::string hostName(const std::string& address) {
  return address.find(':') == std::string::npos ? address : "[" + address + "]";
}

// The name a browser saves a download under, in the header's two forms: a
// plain one of printable ASCII and the UTF-8 one (RFC 6266).
std::string attachment(const std::string& fileName) {
  std::string plain, encoded;
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char ch : fileName) {
    const auto c = static_cast<unsigned char>(ch);
    plain += (c >= 0x20 && c < 0x7F && c != '"' && c != '\\' && c != '/') ? ch : '_';
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
        c == '_' || c == '~') {
      encoded += ch;
    } else {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 15];
    }
  }
  return "attachment; filename=\"" + plain + "\"; filename*=UTF-8''" + encoded;
}

std::string contentTypeOf(std::string_view name) {
  auto endsWith = [&](std::string_view ext) {
    return name.size() >= ext.size() && name.substr(name.size() - ext.size()) == ext;
  };
  if (endsWith(".html")) return "text/html; charset=utf-8";
  if (endsWith(".css")) return "text/css; charset=utf-8";
  if (endsWith(".js")) return "text/javascript; charset=utf-8";
  if (endsWith(".svg")) return "image/svg+xml";
  return "application/octet-stream";
}

// A state from the document with the page's id put first.
std::string withPageId(const std::string& id, const std::string& state) {
  const std::string head = "{\"page\":" + jsonString(id);
  if (state.size() < 2 || state.front() != '{') return head + "}";
  const size_t inner = state.find_first_not_of(" \t\r\n", 1);
  if (inner == std::string::npos || state[inner] == '}') return head + "}";
  return head + "," + state.substr(1);
}

// The channels the page does not draw, as it lists them: "K,LK".
std::set<std::string> hiddenChannels(const std::string& list) {
  std::set<std::string> hidden;
  for (auto& name : platform::text::split(list, ","))
    if (!name.empty()) hidden.insert(std::move(name));
  return hidden;
}

// One of the few files that may be opened at once, for as long as it lives.
class Opening {
 public:
  explicit Opening(std::counting_semaphore<16>& slots) : slots_(slots) { slots_.acquire(); }
  ~Opening() { slots_.release(); }
  Opening(const Opening&) = delete;
  Opening& operator=(const Opening&) = delete;

 private:
  std::counting_semaphore<16>& slots_;
};

}  // namespace

namespace {

// The page's editor, told first of the files there are to edit: the .quad
// the page opened, as read, and the starter curve it made.
WebEditor& editorOf(Page& page) {
  std::optional<WebEditor::Source> quad, starter;
  if (auto read = page.document.quadAsRead()) quad = WebEditor::Source{read->name, read->bytes};
  if (page.starter.made())
    if (auto made = page.starter.download())
      starter = WebEditor::Source{made->fileName, std::make_shared<const std::string>(std::move(made->bytes))};
  page.editor.offer(std::move(quad), std::move(starter));
  return page.editor;
}

}  // namespace

struct WebServer::Impl {
  explicit Impl(ServerOptions o)
      : options(std::move(o)), store(options.pageLimit, options.memoryLimit, options.idleLimit) {}

  ServerOptions options;
  PageStore store;
  httplib::Server server;
  int port = 0;
  std::set<std::string> hosts, origins;
  std::string cookieName;
  // Files opened at once. Reading a file takes many times its size for a
  // moment (a 64 MB measurement file, some 800 MB), which the documents'
  // memory limit does not see: two at a time keep that bounded however
  // many pages send files together.
  std::counting_semaphore<16> opening{2};

  void setUp();
  bool admitted(const Request& req, Response& res) const;
  void withPage(const Request& req, Response& res, const std::function<void(const std::string&, Page&)>& use);
  void sendState(Response& res, const std::string& state) { res.set_content(state, kJson); }
};

namespace {

// Every answer goes out whole, whatever the route meets: a fault in one
// request is that request's 500, never the server's end.
template <class F>
httplib::Server::Handler guarded(F handler) {
  return [handler](const Request& req, Response& res) {
    try {
      handler(req, res);
    } catch (const std::bad_alloc&) {
      answer(res, 503, "the server ran out of memory for this request");
    } catch (const std::exception& e) {
      answer(res, 500, std::string("the server failed on this request: ") + e.what());
    } catch (...) {
      answer(res, 500, "the server failed on this request");
    }
  };
}

}  // namespace

bool WebServer::Impl::admitted(const Request& req, Response& res) const {
  // A page on another site that makes the browser resolve its own name to
  // this machine (DNS rebinding) sends its name as the Host.
  if (!hosts.count(req.get_header_value("Host"))) {
    refuse(res, 421, "this server answers for " + *hosts.begin() + " only");
    return false;
  }
  bool token = req.has_param("token") && sameSecret(req.get_param_value("token"), options.token);
  if (!token)
    for (const auto& value : cookieValues(req.get_header_value("Cookie"), cookieName))
      token = token || sameSecret(value, options.token);
  if (!token) {
    refuse(res, 403, "open the address inkcurve serve printed, with its token");
    return false;
  }
  // A form or script on another site can make the browser send a change
  // with the cookie; the browser names that site in Origin.
  if (req.method != "GET" && req.method != "HEAD" && !origins.count(req.get_header_value("Origin"))) {
    refuse(res, 403, "a change must come from the page itself");
    return false;
  }
  return true;
}

void WebServer::Impl::withPage(const Request& req, Response& res,
                               const std::function<void(const std::string&, Page&)>& use) {
  const std::string id = req.matches[1];
  PageStore::Lookup lookup;
  const auto page = store.find(id, lookup);
  if (!page) {
    if (lookup == PageStore::Lookup::dropped) {
      res.status = 410;
      res.set_content("{\"error\":" + jsonString(kDroppedText) + ",\"gone\":true}", kJson);
    } else {
      res.status = 404;
      res.set_content("{\"error\":" + jsonString(kUnknownPageText) + ",\"gone\":true}", kJson);
    }
    return;
  }
  std::lock_guard lock(page->mutex);
  use(id, *page);
  store.held(id, page->bytesHeld());
}

void WebServer::Impl::setUp() {
  auto& s = server;
  const int threads = options.threads < 1 ? 1 : options.threads;
  s.new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<size_t>(threads)); };
  s.set_payload_max_length(options.fileLimit);
  // SO_REUSEADDR alone: httplib's default adds SO_REUSEPORT, with which a
  // second server of the same user on the same port would take half the
  // connections rather than be refused. The socket is closed in programs
  // started from here (the browser --open starts), which would otherwise
  // keep the port taken after the server ends.
  s.set_socket_options([](socket_t sock) {
    int yes = 1;
    ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    ::fcntl(sock, F_SETFD, FD_CLOEXEC);
  });
  s.set_read_timeout(options.readTimeout);
  s.set_write_timeout(options.writeTimeout);
  s.set_keep_alive_timeout(2);
  s.set_keep_alive_max_count(10);
  s.set_default_headers({
      {"Content-Security-Policy",
       "default-src 'self'; script-src 'self'; style-src 'self'; img-src 'self' data: blob:; "
       "frame-ancestors 'none'; base-uri 'none'; form-action 'self'"},
      {"X-Frame-Options", "DENY"},
      {"X-Content-Type-Options", "nosniff"},
      {"Referrer-Policy", "no-referrer"},
      {"Cache-Control", "no-store"},
  });
  s.set_pre_routing_handler([this](const Request& req, Response& res) {
    try {
      return admitted(req, res) ? httplib::Server::HandlerResponse::Unhandled
                                : httplib::Server::HandlerResponse::Handled;
    } catch (...) {
      refuse(res, 400, "the request could not be read");
      return httplib::Server::HandlerResponse::Handled;
    }
  });
  s.set_error_handler([](const Request& req, Response& res) {
    if (!res.body.empty()) return;
    switch (res.status) {
      case 404: answer(res, 404, "nothing here"); break;
      // The HTTP library takes a form's body to 8 KB only; the page sends
      // JSON and files as they are.
      case 413:
        answer(res, 413, req.get_header_value("Content-Type").starts_with("application/x-www-form-urlencoded")
                             ? "a form's body is taken to 8 KB only: send it as application/json, or a file as "
                               "application/octet-stream"
                             : "the request is too large");
        break;
      case 400: answer(res, 400, "the request could not be read"); break;
      default: answer(res, res.status, "the request was refused"); break;
    }
  });
  s.set_exception_handler([](const Request&, Response& res, std::exception_ptr) {
    answer(res, 500, "the server failed on this request");
  });

  // The page. Its first load carries the token in the address: it becomes a
  // cookie only this site's own requests carry, and the address loses it.
  s.Get("/", guarded([this](const Request& req, Response& res) {
    if (req.has_param("token")) {
      res.set_header("Set-Cookie", cookieName + "=" + options.token + "; Path=/; HttpOnly; SameSite=Strict");
      res.set_redirect("/", 303);
      return;
    }
    for (const auto& asset : webAssets())
      if (asset.name == "index.html") res.set_content(std::string(asset.bytes), contentTypeOf(asset.name));
    if (res.body.empty()) answer(res, 500, "the page was not built into the program");
  }));
  for (const auto& asset : webAssets()) {
    if (asset.name == "index.html") continue;
    std::string pattern = "/";
    for (char c : asset.name) pattern += (c == '.' ? std::string("\\.") : std::string(1, c));
    s.Get(pattern, guarded([asset](const Request&, Response& res) {
      res.set_content(std::string(asset.bytes), contentTypeOf(asset.name));
    }));
  }

  // The API: one document a page.
  s.Post("/api/pages", guarded([this](const Request&, Response& res) {
    auto [id, page] = store.create();
    std::lock_guard lock(page->mutex);
    sendState(res, withPageId(id, page->document.state()));
  }));
  const std::string pageRoute = "/api/pages/([0-9a-f]{32})";
  s.Get(pageRoute, guarded([this](const Request& req, Response& res) {
    withPage(req, res, [&](const std::string& id, Page& page) { sendState(res, withPageId(id, page.document.state())); });
  }));
  s.Delete(pageRoute, guarded([this](const Request& req, Response& res) {
    if (store.close(req.matches[1]))
      res.set_content("{\"closed\":true}", kJson);
    else
      answer(res, 404, "no such page");
  }));
  s.Post(pageRoute + "/measurements", guarded([this](const Request& req, Response& res) {
    const std::string name = req.get_param_value("name");
    if (name.empty()) return answer(res, 400, "the measurement file's name is missing (name=)");
    std::optional<int64_t> steps;
    if (req.has_param("steps") && !req.get_param_value("steps").empty()) {
      steps = platform::text::parseInt(req.get_param_value("steps"));
      if (!steps) return answer(res, 400, "steps must be a whole number");
    }
    std::optional<std::string> layout;
    if (req.has_param("layout") && !req.get_param_value("layout").empty()) layout = req.get_param_value("layout");
    store.makeRoom(req.matches[1], req.body.size());
    withPage(req, res, [&](const std::string&, Page& page) {
      Opening one(opening);
      sendState(res, page.document.openMeasurements(name, req.body, steps, layout));
    });
  }));
  s.Post(pageRoute + "/quad", guarded([this](const Request& req, Response& res) {
    const std::string name = req.get_param_value("name");
    if (name.empty()) return answer(res, 400, "the .quad file's name is missing (name=)");
    store.makeRoom(req.matches[1], req.body.size());
    withPage(req, res, [&](const std::string&, Page& page) {
      Opening one(opening);
      sendState(res, page.document.openQuad(name, req.body));
    });
  }));

  // The JSON bodies: read whole and strictly, each key of the kind it must be.
  auto jsonBody = [](const Request& req, Response& res,
                     const std::map<std::string, bool>& keys) -> std::optional<FlatObject> {
    if (req.body.size() > kJsonBodyLimit) {
      answer(res, 413, "the request is too large");
      return std::nullopt;
    }
    std::string error;
    auto object = parseFlatObject(req.body, error);
    if (!object) {
      answer(res, 400, "the body is not the JSON expected: " + error);
      return std::nullopt;
    }
    for (const auto& [key, value] : *object) {
      const auto known = keys.find(key);
      if (known == keys.end()) {
        answer(res, 400, "unknown key \"" + platform::text::printable(key) + "\"");
        return std::nullopt;
      }
      if (std::holds_alternative<std::string>(value) != known->second) {
        answer(res, 400, "\"" + key + "\" must be " + (known->second ? "a string" : "a number"));
        return std::nullopt;
      }
    }
    return object;
  };
  auto number = [](const FlatObject& o, const std::string& key) -> std::optional<double> {
    const auto it = o.find(key);
    if (it == o.end()) return std::nullopt;
    return std::get<double>(it->second);
  };
  s.Post(pageRoute + "/settings", guarded([this, jsonBody, number](const Request& req, Response& res) {
    const auto body =
        jsonBody(req, res, {{"smoothing", false}, {"spline", false}, {"notes", true}, {"continues", false}});
    if (!body) return;
    std::optional<std::string> notes;
    if (const auto it = body->find("notes"); it != body->end()) notes = std::get<std::string>(it->second);
    // 1 where a slider goes on moving: one change to undo.
    const bool continues = number(*body, "continues").value_or(0) == 1;
    withPage(req, res, [&](const std::string&, Page& page) {
      sendState(res,
                page.document.setSettings(number(*body, "smoothing"), number(*body, "spline"), notes, continues));
    });
  }));
  s.Post(pageRoute + "/readings", guarded([this, jsonBody, number](const Request& req, Response& res) {
    const auto body = jsonBody(req, res, {{"step", false}, {"L", false}, {"a", false}, {"b", false}});
    if (!body) return;
    const auto step = number(*body, "step"), L = number(*body, "L"), a = number(*body, "a"), b = number(*body, "b");
    if (!step || !L || !a || !b) return answer(res, 400, "a reading needs \"step\", \"L\", \"a\" and \"b\"");
    if (std::floor(*step) != *step || std::fabs(*step) > 1e15) return answer(res, 400, "\"step\" must be a whole number");
    withPage(req, res, [&](const std::string&, Page& page) {
      sendState(res, page.document.typeReading(static_cast<int64_t>(*step), *L, *a, *b));
    });
  }));
  s.Post(pageRoute + "/revert", guarded([this](const Request& req, Response& res) {
    withPage(req, res, [&](const std::string&, Page& page) { sendState(res, page.document.revert()); });
  }));
  // The manual curve that shapes the target, as --target-points takes it.
  s.Post(pageRoute + "/target", guarded([this, jsonBody, number](const Request& req, Response& res) {
    const auto body = jsonBody(req, res, {{"points", true}, {"continues", false}});
    if (!body) return;
    const auto points = body->find("points");
    if (points == body->end()) return answer(res, 400, "the target needs \"points\"");
    const bool continues = number(*body, "continues").value_or(0) == 1;
    withPage(req, res, [&](const std::string&, Page& page) {
      sendState(res, page.document.setTargetPoints(std::get<std::string>(points->second), continues));
    });
  }));
  s.Post(pageRoute + "/(undo|redo)", guarded([this](const Request& req, Response& res) {
    const bool undo = req.matches[2] == "undo";
    withPage(req, res, [&](const std::string&, Page& page) {
      sendState(res, undo ? page.document.undo() : page.document.redo());
    });
  }));
  // The page made again from one saved as a download ("page").
  s.Post(pageRoute + "/page", guarded([this](const Request& req, Response& res) {
    store.makeRoom(req.matches[1], req.body.size());
    withPage(req, res, [&](const std::string&, Page& page) {
      Opening one(opening);
      std::string state = page.document.loadPage(req.body);
      // The saved edits of the .quad's channels go to the editor, which
      // takes them as one change (the document checked them).
      if (auto edits = page.document.editsLoaded()) {
        std::string error;
        editorOf(page).restoreEdits(*edits, error);
      }
      sendState(res, std::move(state));
    });
  }));
  s.Get(pageRoute + "/graphs/(measurements|ink)\\.svg", guarded([this](const Request& req, Response& res) {
    const auto graph = req.matches[2] == "ink" ? WebDocument::Graph::inkCurves : WebDocument::Graph::measurements;
    const std::set<std::string> hidden = hiddenChannels(req.get_param_value("hidden"));
    withPage(req, res, [&](const std::string&, Page& page) {
      std::string svg = page.document.graphSvg(graph, hidden);
      if (svg.empty())
        res.status = 204;  // nothing to draw yet
      else
        res.set_content(std::move(svg), "image/svg+xml");
    });
  }));
  // A finger on a graph: the graph's view answers (WebDocument::touchGraph).
  const std::string graphRoute = pageRoute + "/graphs/(measurements|ink)";
  auto touchGraph = [this](const Request& req, Response& res, const WebDocument::GraphTouch& touch,
                           const std::string& hidden) {
    const auto graph = req.matches[2] == "ink" ? WebDocument::Graph::inkCurves : WebDocument::Graph::measurements;
    withPage(req, res, [&](const std::string&, Page& page) {
      std::string error;
      if (auto view = page.document.touchGraph(graph, touch, hiddenChannels(hidden), error))
        res.set_content(std::move(*view), kJson);
      else
        answer(res, 400, error);
    });
  };
  s.Get(graphRoute + "/view", guarded([touchGraph](const Request& req, Response& res) {
    touchGraph(req, res, {}, req.get_param_value("hidden"));
  }));
  s.Post(graphRoute + "/(tap|zoom|pan|reset)", guarded([jsonBody, number, touchGraph](const Request& req,
                                                                                     Response& res) {
    const std::string kind = req.matches[3];
    const auto body = jsonBody(req, res, {{"x", false}, {"y", false}, {"toX", false}, {"toY", false},
                                          {"factor", false}, {"hidden", true}});
    if (!body) return;
    using Gesture = WebDocument::Gesture;
    struct Needs {
      Gesture gesture;
      std::vector<std::string> keys;
      const char* refusal;
    };
    static const std::map<std::string, Needs> needs{
        {"tap", {Gesture::tap, {"x", "y"}, "a tap needs \"x\" and \"y\" and nothing else but \"hidden\""}},
        {"zoom", {Gesture::zoom, {"x", "y", "factor"},
                  "a zoom needs \"x\", \"y\" and \"factor\" and nothing else but \"hidden\""}},
        {"pan", {Gesture::pan, {"x", "y", "toX", "toY"},
                 "a pan needs \"x\", \"y\", \"toX\" and \"toY\" and nothing else but \"hidden\""}},
        {"reset", {Gesture::reset, {}, "a reset takes nothing but \"hidden\""}},
    };
    const Needs& wanted = needs.at(kind);
    const size_t given = body->size() - body->count("hidden");
    for (const auto& key : wanted.keys)
      if (!number(*body, key)) return answer(res, 400, wanted.refusal);
    if (given != wanted.keys.size()) return answer(res, 400, wanted.refusal);
    WebDocument::GraphTouch touch;
    touch.gesture = wanted.gesture;
    touch.x = number(*body, "x").value_or(0);
    touch.y = number(*body, "y").value_or(0);
    touch.toX = number(*body, "toX").value_or(0);
    touch.toY = number(*body, "toY").value_or(0);
    touch.factor = number(*body, "factor").value_or(1);
    const auto hidden = body->find("hidden");
    touchGraph(req, res, touch, hidden == body->end() ? "" : std::get<std::string>(hidden->second));
  }));
  s.Get(pageRoute + "/downloads/(quad|acv|cube|xml|measurements|page)", guarded([this](const Request& req, Response& res) {
    const std::string what = req.matches[2];
    withPage(req, res, [&](const std::string&, Page& page) {
      auto download = page.document.download(what);
      if (!download) return answer(res, 404, "there is no " + what + " file to save yet");
      // A saved page holds the editor's edits of the .quad too.
      if (what == "page") download->bytes = page.document.savedPage(editorOf(page).savedEdits());
      res.set_header("Content-Disposition", attachment(download->fileName));
      res.set_content(std::move(download->bytes), download->contentType);
    });
  }));

  // The starter-curve screen: its state, its choices, its graph and its .quad.
  const std::string starterRoute = pageRoute + "/starter";
  s.Get(starterRoute, guarded([this](const Request& req, Response& res) {
    withPage(req, res, [&](const std::string&, Page& page) { sendState(res, page.starter.state()); });
  }));
  s.Post(starterRoute + "/settings", guarded([this, jsonBody, number](const Request& req, Response& res) {
    const auto body = jsonBody(req, res, {{"printer", true}, {"process", true}, {"inkLimit", false},
                                          {"yellow", false}, {"totalInk", false}});
    if (!body) return;
    WebStarter::Change change{{}, {}, number(*body, "inkLimit"), number(*body, "yellow"), number(*body, "totalInk")};
    for (auto [key, title] : {std::pair{"printer", &change.printer}, std::pair{"process", &change.process}})
      if (const auto it = body->find(key); it != body->end()) *title = std::get<std::string>(it->second);
    withPage(req, res, [&](const std::string&, Page& page) {
      std::string error;
      if (auto state = page.starter.change(change, error))
        sendState(res, *state);
      else
        answer(res, 400, error);
    });
  }));
  s.Get(starterRoute + "/graph\\.svg", guarded([this](const Request& req, Response& res) {
    withPage(req, res, [&](const std::string&, Page& page) {
      std::string svg = page.starter.graphSvg();
      if (svg.empty()) return answer(res, 500, "the starter curve's graph could not be drawn");
      res.set_content(std::move(svg), "image/svg+xml");
    });
  }));
  s.Get(starterRoute + "/download", guarded([this](const Request& req, Response& res) {
    withPage(req, res, [&](const std::string&, Page& page) {
      auto download = page.starter.download();
      if (!download) return answer(res, 404, "there is no starter curve to save");
      res.set_header("Content-Disposition", attachment(download->fileName));
      res.set_content(std::move(download->bytes), download->contentType);
    });
  }));

  // The curve editor: the .quad the page opened, as read, or the starter
  // curve it made, told to the editor before each use.
  const std::string editorRoute = pageRoute + "/editor";
  auto withEditor = [this](const Request& req, Response& res, const std::function<void(WebEditor&)>& use) {
    withPage(req, res, [&](const std::string&, Page& page) { use(editorOf(page)); });
  };
  s.Get(editorRoute, guarded([this, withEditor](const Request& req, Response& res) {
    withEditor(req, res, [&](WebEditor& editor) { sendState(res, editor.state()); });
  }));
  s.Post(editorRoute + "/change", guarded([this, jsonBody, number, withEditor](const Request& req, Response& res) {
    const auto body = jsonBody(req, res, {{"source", true}, {"channel", true}, {"points", true}, {"gamma", false},
                                          {"boost", false}, {"continues", false}});
    if (!body) return;
    WebEditor::Change change;
    for (auto [key, text] : {std::pair{"source", &change.source}, std::pair{"channel", &change.channel},
                             std::pair{"points", &change.points}})
      if (const auto it = body->find(key); it != body->end()) *text = std::get<std::string>(it->second);
    change.gamma = number(*body, "gamma");
    change.boost = number(*body, "boost");
    // 1 where a point is still dragged or a slider still moves: one change to undo.
    change.continues = number(*body, "continues").value_or(0) == 1;
    withEditor(req, res, [&](WebEditor& editor) {
      std::string error;
      if (auto state = editor.change(change, error))
        sendState(res, *state);
      else
        answer(res, 400, error);
    });
  }));
  s.Post(editorRoute + "/(undo|redo)", guarded([this, withEditor](const Request& req, Response& res) {
    const bool undo = req.matches[2] == "undo";
    withEditor(req, res, [&](WebEditor& editor) { sendState(res, undo ? editor.undo() : editor.redo()); });
  }));
  s.Get(editorRoute + "/graph\\.svg", guarded([withEditor](const Request& req, Response& res) {
    withEditor(req, res, [&](WebEditor& editor) {
      std::string svg = editor.graphSvg();
      if (svg.empty())
        res.status = 204;  // nothing to draw yet
      else
        res.set_content(std::move(svg), "image/svg+xml");
    });
  }));
  s.Get(editorRoute + "/download", guarded([withEditor](const Request& req, Response& res) {
    withEditor(req, res, [&](WebEditor& editor) {
      auto download = editor.download();
      if (!download) return answer(res, 404, "there is no edited .quad to save: edit a channel first");
      res.set_header("Content-Disposition", attachment(download->fileName));
      res.set_content(std::move(download->bytes), download->contentType);
    });
  }));
}

WebServer::WebServer(ServerOptions options) : impl_(std::make_unique<Impl>(std::move(options))) {}

WebServer::~WebServer() { stop(); }

bool WebServer::bind(std::string& error) {
  auto& d = *impl_;
  if (d.options.token.size() < 32) {
    error = "the server needs a token of 128 bits or more";
    return false;
  }
  d.setUp();
  if (d.options.port == 0) {
    d.port = d.server.bind_to_any_port(d.options.address);
  } else {
    d.port = d.server.bind_to_port(d.options.address, d.options.port) ? d.options.port : -1;
  }
  if (d.port <= 0) {
    error = "could not listen on " + hostName(d.options.address) +
            (d.options.port ? ":" + std::to_string(d.options.port) : std::string()) +
            (d.options.port ? ": the port is in use (another inkcurve serve?), or the address is not this machine's; "
                              "--port 0 takes a free port"
                            : ": the address is not this machine's");
    return false;
  }
  const std::string port = ":" + std::to_string(d.port);
  d.hosts.insert(hostName(d.options.address) + port);
  if (isLoopback(d.options.address)) {
    d.hosts.insert("localhost" + port);
    d.hosts.insert("127.0.0.1" + port);
  }
  for (const auto& host : d.hosts) d.origins.insert("http://" + host);
  d.cookieName = "inkcurve-" + std::to_string(d.port);
  return true;
}

int WebServer::port() const { return impl_->port; }

std::string WebServer::pageAddress() const {
  return "http://" + hostName(impl_->options.address) + ":" + std::to_string(impl_->port) +
         "/?token=" + impl_->options.token;
}

bool WebServer::run() { return impl_->port > 0 && impl_->server.listen_after_bind(); }

void WebServer::stop() { impl_->server.stop(); }

bool WebServer::running() const { return impl_->server.is_running(); }

size_t WebServer::pagesHeld() const { return impl_->store.size(); }

}  // namespace cli::serve
