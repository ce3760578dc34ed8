#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "Cli.h"
#include "RunCli.h"
#include "serve/FlatJson.h"
#include "serve/PageStore.h"
#include "serve/WebServer.h"
#include "support/FakeHost.h"

#ifndef INKCURVE_EXAMPLES
#define INKCURVE_EXAMPLES "examples"
#endif

namespace {

using cli::serve::PageStore;
using cli::serve::ServerOptions;
using cli::serve::WebServer;

const std::string kToken(64, 'a');

// A server on 127.0.0.1 at a free port, answering on a thread of its own.
class Running {
 public:
  explicit Running(ServerOptions options = {}) : server_(withDefaults(std::move(options))) {
    std::string error;
    if (!server_.bind(error)) throw std::runtime_error(error);
    thread_ = std::thread([this] { server_.run(); });
    while (!server_.running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~Running() {
    server_.stop();
    thread_.join();
  }
  WebServer& server() { return server_; }
  int port() const { return server_.port(); }
  std::string origin() const { return "http://127.0.0.1:" + std::to_string(port()); }
  httplib::Headers headers(bool post = false) const {
    httplib::Headers h{{"Cookie", "inkcurve-" + std::to_string(port()) + "=" + kToken}};
    if (post) h.emplace("Origin", origin());
    return h;
  }

 private:
  static ServerOptions withDefaults(ServerOptions o) {
    o.port = 0;
    o.token = kToken;
    return o;
  }
  WebServer server_;
  std::thread thread_;
};

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A string field of a flat part of a state ("measurementFile": "..."), as
// the state writes it.
std::string field(const std::string& json, const std::string& key) {
  const auto at = json.find("\"" + key + "\":");
  if (at == std::string::npos) return "<none>";
  const auto start = at + key.size() + 3;
  const auto end = json.find_first_of(",}", start);
  return json.substr(start, end - start);
}

// Sends `raw` to the server as it is and gives back what came before the
// server closed the connection or stopped answering.
std::string exchange(int port, const std::string& raw) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::send(fd, raw.data(), raw.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(raw.size())) {
    char buffer[4096];
    ssize_t n;
    while ((n = ::recv(fd, buffer, sizeof buffer, 0)) > 0) answer.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return answer;
}

std::string newPage(httplib::Client& client, const Running& running) {
  auto res = client.Post("/api/pages", running.headers(true), "", "text/plain");
  if (!res || res->status != 200) return "";
  return field(res->body, "page").substr(1, 32);
}

TEST(Serve, RefusesWhatIsNotThePagesOwnAndSurvivesIt) {
  ServerOptions options;
  options.fileLimit = 100000;
  options.readTimeout = std::chrono::seconds(1);
  Running running(options);
  const int port = running.port();
  const std::string p = std::to_string(port), other = std::to_string(port == 65535 ? 1 : port + 1);
  httplib::Client client("127.0.0.1", port);
  const std::string id = newPage(client, running);
  ASSERT_EQ(id.size(), 32u);
  const std::string page = "/api/pages/" + id;
  const std::string cookie = "inkcurve-" + p + "=" + kToken;
  const std::string origin = running.origin();

  struct Row {
    std::string method, path;
    httplib::Headers headers;
    std::string body;
    int status;
    std::string answer;
  };
  const std::string noToken = R"({"error":"open the address inkcurve serve printed, with its token"})";
  const std::string notHere = R"({"error":"this server answers for 127.0.0.1:)" + p + R"( only"})";
  const std::string foreign = R"({"error":"a change must come from the page itself"})";
  const std::string badJson = R"({"error":"the body is not the JSON expected: )";
  const std::string big(70000, ' ');
  const std::vector<Row> rows = {
      // The token: missing, wrong, cut short, in a cookie of another port's server.
      {"GET", "/", {}, "", 403, noToken},
      {"GET", "/?token=" + std::string(64, 'b'), {}, "", 403, noToken},
      {"GET", "/?token=" + kToken.substr(1), {}, "", 403, noToken},
      {"GET", page, {{"Cookie", "inkcurve-" + other + "=" + kToken}}, "", 403, noToken},
      {"GET", page, {{"Cookie", "x=1; inkcurve-" + p + "=" + std::string(64, 'c')}}, "", 403, noToken},
      // Another name for this machine, as a rebinding page's requests carry.
      {"GET", "/?token=" + kToken, {{"Host", "attacker.example:" + p}}, "", 421, notHere},
      {"GET", "/?token=" + kToken, {{"Host", "127.0.0.1:" + other}}, "", 421, notHere},
      {"GET", "/?token=" + kToken, {{"Host", "127.0.0.1"}}, "", 421, notHere},
      // A change without the page's origin, or from another.
      {"POST", "/api/pages", {{"Cookie", cookie}}, "", 403, foreign},
      {"POST", "/api/pages", {{"Cookie", cookie}, {"Origin", "http://attacker.example"}}, "", 403, foreign},
      {"POST", "/api/pages", {{"Cookie", cookie}, {"Origin", "http://127.0.0.1:" + other}}, "", 403, foreign},
      {"POST", "/api/pages", {{"Cookie", cookie}, {"Origin", "null"}}, "", 403, foreign},
      {"DELETE", page, {{"Cookie", cookie}}, "", 403, foreign},
      {"POST", page + "/revert", {{"Cookie", cookie}, {"Origin", "https://127.0.0.1:" + p}}, "", 403, foreign},
      {"POST", page + "/starter/settings", {{"Cookie", cookie}}, "{}", 403, foreign},
      {"POST", page + "/undo", {{"Cookie", cookie}}, "{}", 403, foreign},
      {"POST", page + "/page", {{"Cookie", cookie}, {"Origin", "http://attacker.example"}}, "{}", 403, foreign},
      // Routes that are not there.
      {"GET", "/index.html", {{"Cookie", cookie}}, "", 404, R"({"error":"nothing here"})"},
      {"GET", "/api/pages/" + id.substr(1), {{"Cookie", cookie}}, "", 404, R"({"error":"nothing here"})"},
      {"GET", page + "/downloads/../../etc/passwd", {{"Cookie", cookie}}, "", 404, R"({"error":"nothing here"})"},
      {"GET", page + "/graphs/other.svg", {{"Cookie", cookie}}, "", 404, R"({"error":"nothing here"})"},
      {"GET", "/api/pages/" + std::string(32, '0'), {{"Cookie", cookie}}, "", 404,
       R"({"error":"the server holds no document for this page: reload the page, or open the files again.","gone":true})"},
      // Bodies that are not what the route takes.
      {"POST", page + "/settings", {}, "{", 400, badJson + R"(a key is not a JSON string"})"},
      {"POST", page + "/settings", {}, "[33]", 400, badJson + R"(the body is not a JSON object"})"},
      {"POST", page + "/settings", {}, R"({"smoothing": NaN})", 400,
       badJson + R"(the value of \"smoothing\" is not a number, a string or null"})"},
      {"POST", page + "/settings", {}, R"({"smoothing": 1e999})", 400,
       badJson + R"(the value of \"smoothing\" is not a number, a string or null"})"},
      {"POST", page + "/settings", {}, R"({"smoothing": 01})", 400,
       badJson + R"(no ',' or '}' after the value of \"smoothing\""})"},
      {"POST", page + "/settings", {}, R"({"smoothing": 1, "smoothing": 2})", 400,
       badJson + R"(the key \"smoothing\" is given twice"})"},
      {"POST", page + "/settings", {}, R"({"notes": {"a": 1}})", 400,
       badJson + R"(the value of \"notes\" is not a number, a string or null"})"},
      {"POST", page + "/settings", {}, R"({"notes": "\ud800"})", 400,
       badJson + R"(the value of \"notes\" is not a whole JSON string of UTF-8 text"})"},
      {"POST", page + "/settings", {}, "{\"notes\": \"\xC3\"}", 400,
       badJson + R"(the value of \"notes\" is not a whole JSON string of UTF-8 text"})"},
      {"POST", page + "/settings", {}, R"({"smoothing": 40} x)", 400, badJson + R"(something follows the object"})"},
      {"POST", page + "/target", {}, R"({"continues": 1})", 400, R"({"error":"the target needs \"points\""})"},
      {"POST", page + "/target", {}, R"({"points": 3})", 400, R"({"error":"\"points\" must be a string"})"},
      {"POST", page + "/settings", {}, R"({"smoothing": "40"})", 400, R"({"error":"\"smoothing\" must be a number"})"},
      {"POST", page + "/settings", {}, R"({"notes": 3})", 400, R"({"error":"\"notes\" must be a string"})"},
      {"POST", page + "/settings", {}, R"({"window": 3})", 400, R"({"error":"unknown key \"window\""})"},
      {"POST", page + "/settings", {}, "{\"notes\": \"" + big + "\"}", 413,
       R"({"error":"the request is too large"})"},
      {"POST", page + "/readings", {}, R"({"step": 1.5, "L": 50, "a": 0, "b": 0})", 400,
       R"({"error":"\"step\" must be a whole number"})"},
      {"POST", page + "/readings", {}, R"({"step": 1, "a": 0, "b": 0})", 400,
       R"({"error":"a reading needs \"step\", \"L\", \"a\" and \"b\""})"},
      {"POST", page + "/measurements", {}, "x", 400,
       R"j({"error":"the measurement file's name is missing (name=)"})j"},
      {"POST", page + "/measurements?name=w.txt&steps=21.5", {}, "x", 400,
       R"({"error":"steps must be a whole number"})"},
      {"POST", page + "/quad", {}, "x", 400, R"j({"error":"the .quad file's name is missing (name=)"})j"},
      // A file larger than the command line reads.
      // A form's body is cut short by the HTTP library: said so, with what to send instead.
      {"POST", page + "/page",
       {{"Cookie", cookie}, {"Origin", "http://127.0.0.1:" + p}, {"Content-Type", "application/x-www-form-urlencoded"}},
       std::string(9000, 'x'), 413,
       R"({"error":"a form's body is taken to 8 KB only: send it as application/json, or a file as )"
       R"(application/octet-stream"})"},
      {"POST", page + "/quad?name=big.quad", {}, std::string(100001, 'x'), 413,
       R"({"error":"the request is too large"})"},
      {"GET", page + "/downloads/quad", {{"Cookie", cookie}}, "", 404,
       R"({"error":"there is no quad file to save yet"})"},
  };
  for (const auto& row : rows) {
    httplib::Request req;
    req.method = row.method;
    req.path = row.path;
    req.headers = row.headers;
    if (row.method == "POST" && req.headers.empty()) req.headers = running.headers(true);
    if (row.method == "POST") {
      req.body = row.body;
      if (!req.has_header("Content-Type")) req.set_header("Content-Type", "application/octet-stream");
    }
    httplib::Client fresh("127.0.0.1", port);  // a refusal may close its connection
    auto res = fresh.send(req);
    ASSERT_TRUE(res) << row.method << " " << row.path;
    EXPECT_EQ(res->status, row.status) << row.method << " " << row.path << " " << row.body.substr(0, 40);
    EXPECT_EQ(res->body, row.answer) << row.method << " " << row.path << " " << row.body.substr(0, 40);
    EXPECT_EQ(res->get_header_value("Content-Type"), "application/json; charset=utf-8") << row.path;
  }

  // Bytes that are no HTTP, a request line too long, and a request that stops
  // half way (dropped after the read timeout): answered or closed, served on.
  using namespace std::string_literals;
  const std::pair<std::string, std::string> raws[] = {
      {"\x16\x03\x01\x02\x00garbage\r\n\r\n"s, "HTTP/1.1 400 Bad Request"},
      {"GET /" + std::string(10000, 'a') + " HTTP/1.1\r\nHost: 127.0.0.1:" + p + "\r\n\r\n", "HTTP/1.1 414 URI Too Long"},
      {"POST /api/pages HTTP/1.1\r\nHost: 127.0.0.1:" + p + "\r\nCookie: " + cookie + "\r\nOrigin: " + origin +
           "\r\nContent-Length: 10\r\n\r\n{",
       ""},
      {"GET / HTTP/1.1\r\nHost: 127.0.0.1:", ""},
  };
  for (const auto& [raw, reply] : raws) {
    const auto start = std::chrono::steady_clock::now();
    const std::string answer = exchange(port, raw);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(answer.substr(0, reply.size()), reply) << raw.substr(0, 40);
    if (reply.empty()) {
      EXPECT_TRUE(answer.empty() || answer.rfind("HTTP/1.1 4", 0) == 0) << answer.substr(0, 40);
      EXPECT_GE(waited, std::chrono::milliseconds(900)) << raw.substr(0, 40);
      EXPECT_LT(waited, std::chrono::milliseconds(4000)) << raw.substr(0, 40);
    }
  }

  // A file of the limit itself is read, as the command line reads it.
  auto edge = client.Post((page + "/quad?name=edge.quad").c_str(), running.headers(true), std::string(100000, 'x'),
                          "application/octet-stream");
  ASSERT_TRUE(edge);
  EXPECT_EQ(edge->status, 200);
  EXPECT_NE(edge->body.find("\"errors\":[{\"about\":\"quad\""), std::string::npos) << edge->body.substr(0, 300);

  auto state = client.Get(page.c_str(), running.headers());
  ASSERT_TRUE(state);
  EXPECT_EQ(state->status, 200);
  EXPECT_EQ(field(state->body, "page"), "\"" + id + "\"");
}

TEST(Serve, CommandLineMistakes) {
  Running taken;
  const std::string port = std::to_string(taken.port());
  const std::pair<std::vector<std::string>, std::string> rows[] = {
      {{"--port", "http"}, "--port needs a port number from 0 to 65535, not 'http'"},
      {{"--port", "65536"}, "--port needs a port number from 0 to 65535, not '65536'"},
      {{"--port", "-1"}, "--port needs a port number from 0 to 65535, not '-1'"},
      {{"--listen", "0.0.0.0"},
       "--listen needs one address of this machine, which the page's requests must name, not every address (0.0.0.0)"},
      {{"--listen", "::"},
       "--listen needs one address of this machine, which the page's requests must name, not every address (::)"},
      {{"--listen", "localhost"}, "--listen needs an IP address of this machine, not 'localhost'"},
      {{"wedge.txt"}, "unexpected argument 'wedge.txt'"},
      {{"--open", "--open"}, "--open is given more than once"},
      {{"--port", port},
       "could not listen on 127.0.0.1:" + port + ": the port is in use (another inkcurve serve?), or the address is "
       "not this machine's; --port 0 takes a free port"},
  };
  for (const auto& [args, message] : rows) {
    std::vector<std::string> line{"serve"};
    line.insert(line.end(), args.begin(), args.end());
    const auto r = testsupport::runInkcurve(line);
    const bool usage = args.front() != "--port" || args.back() != port;
    EXPECT_EQ(r.status, usage ? cli::kExitUsage : cli::kExitFailed) << message;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n') + 1), "inkcurve serve: " + message + "\n");
    EXPECT_EQ(r.err.find("usage: inkcurve serve [--port N] [--open] [--listen ADDRESS]") != std::string::npos, usage);
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(testsupport::runInkcurve({"serve", "--help"}).out.rfind("usage: inkcurve serve [--port N]", 0), 0u);
}

TEST(Serve, HeadersTokenCookieAndThePagesFiles) {
  Running running;
  const std::string p = std::to_string(running.port());
  httplib::Client client("127.0.0.1", running.port());
  const std::map<std::string, std::string> always = {
      {"Content-Security-Policy",
       "default-src 'self'; script-src 'self'; style-src 'self'; img-src 'self' data: blob:; frame-ancestors 'none'; "
       "base-uri 'none'; form-action 'self'"},
      {"X-Frame-Options", "DENY"},
      {"X-Content-Type-Options", "nosniff"},
      {"Referrer-Policy", "no-referrer"},
      {"Cache-Control", "no-store"},
  };
  // The first load: the token becomes a cookie for this port's server and
  // leaves the address.
  auto first = client.Get(("/?token=" + kToken).c_str());
  ASSERT_TRUE(first);
  EXPECT_EQ(first->status, 303);
  EXPECT_EQ(first->get_header_value("Location"), "/");
  EXPECT_EQ(first->get_header_value("Set-Cookie"),
            "inkcurve-" + p + "=" + kToken + "; Path=/; HttpOnly; SameSite=Strict");

  struct Row {
    std::string path;
    httplib::Headers headers;
    int status;
    std::string contentType, holds;
  };
  const std::vector<Row> rows = {
      {"/", running.headers(), 200, "text/html; charset=utf-8", "<script src=\"app.js\" defer></script>"},
      {"/", {{"Host", "localhost:" + p}, {"Cookie", "inkcurve-" + p + "=" + kToken}}, 200,
       "text/html; charset=utf-8", "data-test=\"readings-table\""},
      {"/app.js", running.headers(), 200, "text/javascript; charset=utf-8", "'use strict';"},
      {"/app.css", running.headers(), 200, "text/css; charset=utf-8", ":root {"},
      {"/", {}, 403, "application/json; charset=utf-8", "token"},
      {"/nothing", running.headers(), 404, "application/json; charset=utf-8", "nothing here"},
  };
  size_t pageBytes = 0;
  for (const auto& row : rows) {
    auto res = client.Get(row.path.c_str(), row.headers);
    ASSERT_TRUE(res) << row.path;
    EXPECT_EQ(res->status, row.status) << row.path;
    EXPECT_EQ(res->get_header_value("Content-Type"), row.contentType) << row.path;
    EXPECT_NE(res->body.find(row.holds), std::string::npos) << row.path;
    for (const auto& [name, value] : always) EXPECT_EQ(res->get_header_value(name), value) << row.path << " " << name;
    if (row.status == 200 && row.headers.size() == 1) pageBytes += res->body.size();
  }
  // The page and its script stay small enough to load at once.
  EXPECT_LT(pageBytes, 200u * 1024u);
}

TEST(Serve, EachPageItsOwnDocumentFromManyThreads) {
  Running running;
  const std::string wedge = readFile(INKCURVE_EXAMPLES "/wedge-21.txt");
  ASSERT_FALSE(wedge.empty());
  constexpr int kPages = 6, kMoves = 15;
  std::vector<std::string> failures(kPages);
  std::vector<std::thread> threads;
  for (int i = 0; i < kPages; ++i) {
    threads.emplace_back([&, i] {
      httplib::Client client("127.0.0.1", running.port());
      const std::string id = newPage(client, running);
      const std::string page = "/api/pages/" + id;
      const std::string name = "wedge-" + std::to_string(i) + ".txt";
      auto opened = client.Post((page + "/measurements?name=" + name).c_str(), running.headers(true), wedge,
                                "application/octet-stream");
      if (!opened || field(opened->body, "measurementFile") != "\"" + name + "\"") {
        failures[i] = "not opened: " + (opened ? opened->body.substr(0, 200) : std::string("no answer"));
        return;
      }
      for (int move = 0; move < kMoves && failures[i].empty(); ++move) {
        const int smoothing = (i * 17 + move * 7) % 101;
        auto res = client.Post((page + "/settings").c_str(), running.headers(true),
                               "{\"smoothing\": " + std::to_string(smoothing) + "}", "application/json");
        auto svg = client.Get((page + "/graphs/measurements.svg").c_str(), running.headers());
        if (!res || field(res->body, "measurementFile") != "\"" + name + "\"" ||
            field(res->body, "smoothing") != std::to_string(smoothing) || !svg || svg->status != 200 ||
            svg->get_header_value("Content-Type") != "image/svg+xml")
          failures[i] = "move " + std::to_string(move) + ": " + (res ? res->body.substr(0, 200) : std::string("none"));
      }
    });
  }
  for (auto& t : threads) t.join();
  for (int i = 0; i < kPages; ++i) EXPECT_EQ(failures[i], "") << "page " << i;
  EXPECT_EQ(running.server().pagesHeld(), static_cast<size_t>(kPages));
}

TEST(Serve, DownloadsAreSavedUnderTheirNames) {
  Running running;
  httplib::Client client("127.0.0.1", running.port());
  const std::string wedge = readFile(INKCURVE_EXAMPLES "/wedge-21.txt"), quad = readFile(INKCURVE_EXAMPLES "/pt-pd-8ch.quad");
  // The name the page gave (percent-encoded in the query), what is saved, and
  // the header that names it: plain ASCII for old browsers, UTF-8 for the rest.
  const std::tuple<std::string, std::string, std::string, std::string> rows[] = {
      {"wedge-21.txt", "quad", "application/octet-stream",
       "attachment; filename=\"pt-pd-8ch-corrected.quad\"; filename*=UTF-8''pt-pd-8ch-corrected.quad"},
      {"wedge-21.txt", "xml", "application/zip",
       "attachment; filename=\"pt-pd-8ch-xml.zip\"; filename*=UTF-8''pt-pd-8ch-xml.zip"},
      {"Pt%20%22n%C2%BA1%22%3B%20x.txt", "acv", "application/octet-stream",
       "attachment; filename=\"Pt _n__1_; x-correction.acv\"; "
       "filename*=UTF-8''Pt%20%22n%C2%BA1%22%3B%20x-correction.acv"},
      {"..%2F..%2Fetc%2Fpasswd.txt", "measurements", "application/octet-stream",
       "attachment; filename=\"passwd-smoothed.txt\"; filename*=UTF-8''passwd-smoothed.txt"},
  };
  for (const auto& [name, what, type, header] : rows) {
    const std::string page = "/api/pages/" + newPage(client, running);
    auto none = client.Get((page + "/downloads/" + what).c_str(), running.headers());
    ASSERT_TRUE(none);
    EXPECT_EQ(none->status, 404);
    EXPECT_EQ(none->body, "{\"error\":\"there is no " + what + " file to save yet\"}");
    client.Post((page + "/measurements?name=" + name).c_str(), running.headers(true), wedge, "application/octet-stream");
    client.Post((page + "/quad?name=pt-pd-8ch.quad").c_str(), running.headers(true), quad, "application/octet-stream");
    // Read as sent: httplib's client takes percent escapes out of headers.
    const std::string saved =
        exchange(running.port(), "GET " + page + "/downloads/" + what + " HTTP/1.1\r\nHost: 127.0.0.1:" +
                                     std::to_string(running.port()) + "\r\nCookie: " +
                                     running.headers().begin()->second + "\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(saved.substr(0, 15), "HTTP/1.1 200 OK") << name << " " << saved.substr(0, 300);
    EXPECT_NE(saved.find("\r\nContent-Disposition: " + header + "\r\n"), std::string::npos) << saved.substr(0, 600);
    EXPECT_NE(saved.find("\r\nContent-Type: " + type + "\r\n"), std::string::npos) << name;
  }
}

// The starter-curve screen's routes, one request after another on one page:
// its state, its choices (a refusal is a 400 in the command's words and
// changes nothing), its graph and its .quad, and what the page holds grows
// with what it drew.
TEST(Serve, StarterCurveRoutes) {
  Running running;
  httplib::Client client("127.0.0.1", running.port());
  const std::string starter = "/api/pages/" + newPage(client, running) + "/starter";
  struct Row {
    std::string method, path, body;
    int status;
    std::string answer;  // the start of the answer's body
  };
  const std::string summary = R"("summary":"starter curve: P5000/P7000/P9000, Carbon Transfer, --ink-limit 10, )"
                              R"(--yellow 5, --total-ink 0.1; channels K, C, M, Y, LC, LM, LK, LLK, OR, GR")";
  const std::vector<Row> rows = {
      {"GET", starter, "", 200, R"({"printers":["x800-x880","P600/P800",)"},
      {"POST", starter + "/settings",
       R"({"printer": "P5000/P7000/P9000", "process": "Carbon Transfer", "inkLimit": 10, "yellow": 5, "totalInk": 0.1})",
       200, R"({"printers":)"},
      {"POST", starter + "/settings", R"({"inkLimit": -150})", 400,
       R"({"error":"--ink-limit must be above -100 (a boost of -100% or less removes the ink), not '-150'"})"},
      {"POST", starter + "/settings", R"({"yellow": 0.5})", 400,
       R"({"error":"--yellow needs a whole number, not '0.5'"})"},
      {"POST", starter + "/settings", R"({"process": "Gum"})", 400,
       R"j({"error":"unknown process 'Gum' (see inkcurve starter --list)"})j"},
      {"POST", starter + "/settings", R"({"printer": 5})", 400, R"({"error":"\"printer\" must be a string"})"},
      {"POST", starter + "/settings", R"({"totalInk": "0.1"})", 400, R"({"error":"\"totalInk\" must be a number"})"},
      {"POST", starter + "/settings", R"({"boost": 1})", 400, R"({"error":"unknown key \"boost\""})"},
      {"POST", starter + "/settings", R"({"yellow": NaN})", 400,
       R"({"error":"the body is not the JSON expected: the value of \"yellow\" is not a number, a string or null"})"},
      {"POST", starter + "/settings", "{\"printer\": \"" + std::string(70000, 'x') + "\"}", 413,
       R"({"error":"the request is too large"})"},
      {"GET", starter, "", 200, R"({"printers":)"},
      {"GET", starter + "/graph.svg", "", 200, "<?xml"},
      {"GET", starter + "/download", "", 200, "## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK,OR,GR\n# Halvorin for macOS v2\n# \n"},
      {"GET", "/api/pages/" + std::string(32, '0') + "/starter", "", 404,
       R"({"error":"the server holds no document for this page: reload the page, or open the files again.","gone":true})"},
  };
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto& row = rows[i];
    const auto res = row.method == "GET" ? client.Get(row.path.c_str(), running.headers())
                                         : client.Post(row.path.c_str(), running.headers(true), row.body,
                                                       "application/json");
    ASSERT_TRUE(res) << row.path;
    EXPECT_EQ(res->status, row.status) << row.path << " " << row.body.substr(0, 60);
    EXPECT_EQ(res->body.substr(0, row.answer.size()), row.answer) << row.path << " " << row.body.substr(0, 60);
    // Every refusal leaves the choices as the first change made them.
    if (i > 0 && row.status == 200 && row.answer.starts_with("{")) {
      EXPECT_NE(res->body.find(summary), std::string::npos) << res->body;
    }
  }

  testsupport::TempDir dir;
  const auto run = testsupport::runInkcurve({"starter", "--printer", "P5000/P7000/P9000", "--process",
                                             "Carbon Transfer", "--ink-limit", "10", "--yellow", "5", "--total-ink",
                                             "0.1", "--out", (dir / "c.quad").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto saved = client.Get((starter + "/download").c_str(), running.headers());
  ASSERT_TRUE(saved);
  EXPECT_TRUE(saved->body == testsupport::slurp(dir / "c.quad"));
  EXPECT_EQ(saved->get_header_value("Content-Disposition"),
            "attachment; filename=\"p5000-p7000-p9000-carbon-transfer.quad\"; "
            "filename*=UTF-8''p5000-p7000-p9000-carbon-transfer.quad");
  EXPECT_EQ(client.Get((starter + "/graph.svg").c_str(), running.headers())->get_header_value("Content-Type"),
            "image/svg+xml");
}

// The curve editor's routes on one page: nothing to edit, then the starter
// curve once the starter screen made it and the .quad once opened; a
// refusal is a 400 in the command's words; the graph, undo and the edited
// file, saved as `inkcurve edit` writes it.
TEST(Serve, EditorRoutes) {
  Running running;
  httplib::Client client("127.0.0.1", running.port());
  const std::string page = "/api/pages/" + newPage(client, running), editor = page + "/editor";
  const std::string quad = testsupport::slurp(std::filesystem::path(INKCURVE_EXAMPLES) / "pt-pd-8ch.quad");
  struct Row {
    std::string method, path, body;
    int status;
    std::string answer;  // a part of the answer's body
  };
  const std::vector<Row> rows = {
      {"GET", editor, "", 200,
       R"("message":"Open a .quad on the Linearize screen or make a starter curve first.")"},
      {"GET", editor + "/graph.svg", "", 204, ""},
      {"POST", editor + "/change", R"({"gamma": 2})", 400,
       R"({"error":"Open a .quad on the Linearize screen or make a starter curve first."})"},
      {"GET", page + "/starter", "", 200, R"("printer":"x800-x880")"},
      {"GET", editor, "", 200, R"({"sources":["starter"],"source":"starter","file":"x800-x880-standard-starter-curve.quad")"},
      {"POST", page + "/quad?name=pt-pd-8ch.quad", quad, 200, R"("quadFile":"pt-pd-8ch.quad")"},
      {"POST", editor + "/change", R"({"source": "quad", "channel": "K", "points": "0,0 40,10 100,60", "gamma": 2})",
       200, R"("sources":["quad","starter"],"source":"quad","file":"pt-pd-8ch.quad")"},
      {"POST", editor + "/change", R"({"boost": 10, "continues": 1})", 200, R"("gamma":2,"boost":10,"edited":["K"])"},
      {"POST", editor + "/change", R"({"boost": -100})", 400,
       R"({"error":"--boost must be above -100 (a boost of -100% or less removes the ink), not '-100'"})"},
      {"POST", editor + "/change", R"({"gamma": "2"})", 400, R"({"error":"\"gamma\" must be a number"})"},
      {"POST", editor + "/change", R"({"ink": 1})", 400, R"({"error":"unknown key \"ink\""})"},
      {"GET", editor + "/graph.svg", "", 200, "<?xml"},
      {"POST", editor + "/undo", "", 200, R"("points":"0,0 40,10 100,60","gamma":2,"boost":0,)"},
      {"POST", editor + "/redo", "", 200, R"("gamma":2,"boost":10,)"},
      {"GET", editor + "/download", "", 200, "## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK\n"},
  };
  for (const auto& row : rows) {
    const auto res = row.method == "GET" ? client.Get(row.path.c_str(), running.headers())
                                         : client.Post(row.path.c_str(), running.headers(true), row.body,
                                                       "application/json");
    ASSERT_TRUE(res) << row.path;
    EXPECT_EQ(res->status, row.status) << row.path << " " << row.body.substr(0, 60);
    EXPECT_NE(res->body.find(row.answer), std::string::npos) << row.path << " " << res->body.substr(0, 300);
  }
  testsupport::TempDir dir;
  const auto run = testsupport::runInkcurve({"edit", (std::filesystem::path(INKCURVE_EXAMPLES) / "pt-pd-8ch.quad")
                                             .string(), "--channel", "K", "--points", "0,0 40,10 100,60", "--gamma",
                                             "2", "--boost", "10", "--out", (dir / "e.quad").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto saved = client.Get((editor + "/download").c_str(), running.headers());
  ASSERT_TRUE(saved);
  EXPECT_TRUE(saved->body == testsupport::slurp(dir / "e.quad"));
  EXPECT_EQ(saved->get_header_value("Content-Disposition"),
            "attachment; filename=\"pt-pd-8ch-edited.quad\"; filename*=UTF-8''pt-pd-8ch-edited.quad");
}

TEST(Serve, DroppedDocumentsAreSaidToBeGone) {
  // Over the count: the page unused longest goes; a closed page goes too.
  ServerOptions options;
  options.pageLimit = 2;
  Running running(options);
  httplib::Client client("127.0.0.1", running.port());
  const std::string a = newPage(client, running), b = newPage(client, running);
  ASSERT_TRUE(client.Get(("/api/pages/" + a).c_str(), running.headers()));  // a used after b
  const std::string c = newPage(client, running);
  const std::string gone =
      R"({"error":"the server no longer holds this page's files: it lets go of a page unused for an hour, or of )"
      R"(the one unused longest when it needs the room. Open the files again.","gone":true})";
  const std::pair<std::string, int> expected[] = {{a, 200}, {b, 410}, {c, 200}};
  for (const auto& [id, status] : expected) {
    auto res = client.Get(("/api/pages/" + id).c_str(), running.headers());
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, status) << id;
    if (status == 410) {
      EXPECT_EQ(res->body, gone);
    }
    auto svg = client.Get(("/api/pages/" + id + "/graphs/ink.svg").c_str(), running.headers());
    EXPECT_EQ(svg->status, status == 200 ? 204 : 410);  // nothing drawn yet, or gone
  }
  auto closed = client.Delete(("/api/pages/" + c).c_str(), running.headers(true));
  ASSERT_TRUE(closed);
  EXPECT_EQ(closed->body, R"({"closed":true})");
  EXPECT_EQ(client.Get(("/api/pages/" + c).c_str(), running.headers())->status, 410);
  EXPECT_EQ(running.server().pagesHeld(), 1u);
}

TEST(Serve, PageStoreLetsGoOfTheOldestUnusedFirst) {
  using namespace std::chrono_literals;
  // Pages a, b, c made in turn; `use` is found (made the latest used), then
  // the bytes held given to pages; which are still held after.
  struct Row {
    const char* what;
    size_t pageLimit, memoryLimit;
    std::vector<std::pair<char, size_t>> held;  // page, bytes; '!' uses a first
    std::string kept;
  };
  const Row rows[] = {
      {"within every limit", 3, 1000000, {{'a', 300000}, {'b', 300000}, {'c', 300000}}, "abc"},
      {"over the memory: the oldest goes", 3, 1000000, {{'a', 400000}, {'b', 400000}, {'c', 400000}}, "bc"},
      {"a page used lately stays", 3, 1000000, {{'a', 400000}, {'b', 400000}, {'!', 0}, {'c', 400000}}, "ac"},
      {"one page larger than the limit keeps itself", 3, 1000000, {{'a', 10}, {'c', 5000000}}, "c"},
      {"over the count when made", 2, 1000000, {}, "bc"},
  };
  for (const auto& row : rows) {
    PageStore store(row.pageLimit, row.memoryLimit, 1h);
    std::map<char, std::string> ids;
    for (char name : {'a', 'b', 'c'}) {
      ids[name] = store.create().first;
      std::this_thread::sleep_for(1ms);
    }
    for (const auto& [name, bytes] : row.held) {
      PageStore::Lookup lookup;
      if (name == '!') {
        store.find(ids['a'], lookup);
      } else {
        store.held(ids[name], bytes);
      }
      std::this_thread::sleep_for(1ms);
    }
    std::string kept;
    for (const auto& [name, id] : ids) {
      PageStore::Lookup lookup;
      if (store.find(id, lookup)) kept += name;
      if (!store.find(id, lookup)) {
        EXPECT_EQ(lookup, PageStore::Lookup::dropped) << row.what;
      }
    }
    EXPECT_EQ(kept, row.kept) << row.what;
  }
  // Unused past the idle limit: gone at the next look; an id never made is unknown.
  PageStore store(64, 1000, 0s);
  const auto id = store.create().first;
  PageStore::Lookup lookup;
  EXPECT_FALSE(store.find(id, lookup));
  EXPECT_EQ(lookup, PageStore::Lookup::dropped);
  EXPECT_FALSE(store.find(std::string(32, 'f'), lookup));
  EXPECT_EQ(lookup, PageStore::Lookup::unknown);
  EXPECT_EQ(store.size(), 0u);
}

TEST(Serve, FlatJsonReadsAndWritesText) {
  std::string error;
  const auto object = cli::serve::parseFlatObject(
      R"( {"smoothing": -1.5e2, "notes": "Pt/Pd \"1\"\n\u00e9\ud83d\ude00\/", "spline": null, "b": 0} )", error);
  ASSERT_TRUE(object) << error;
  EXPECT_EQ(std::get<double>(object->at("smoothing")), -150.0);
  EXPECT_EQ(std::get<std::string>(object->at("notes")), "Pt/Pd \"1\"\n\xC3\xA9\xF0\x9F\x98\x80/");
  EXPECT_EQ(object->count("spline"), 0u);
  EXPECT_EQ(std::get<double>(object->at("b")), 0.0);
  EXPECT_TRUE(cli::serve::parseFlatObject("{}", error));
  for (const char* bad : {"", "{", "{\"a\":1,}", "{\"a\":+1}", "{\"a\":.5}", "{\"a\":1.}", "{\"a\":\"\t\"}",
                          "{\"a\":\"\xff\"}", "{'a':1}", "{\"a\":true}", "{\"a\":\"\\x\"}", "{\"a\":\"\\udc00\"}"})
    EXPECT_FALSE(cli::serve::parseFlatObject(bad, error)) << bad;
  EXPECT_EQ(cli::serve::jsonString("a\"b\\c\n\t\x01\x7f\xff\xC3\xA9"), R"("a\"b\\c\n\u0009\u0001\u007f\ufffdé")");
}

}  // namespace
