#include "PrinterSimulator.h"

#include "DeviceClient.h"
#include "DigestAuth.h"
#include "StoredBook.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/stat.h>

using vextel_sim::PrinterSimulator;
using vextel_sim::SimulatorOptions;
using vextel_sim::StoredBook;
using xdirkit::DeviceBook;
using xdirkit::DigestAuth;

namespace {

constexpr const char* kBookPath = "/vextel/v1/address-book";
const DeviceBook kBook{{{1, "Ana", "01"}, {2, "Ben", "02"}}, {{"Both", {1, 2}}}};

class PrinterSimulatorTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("vextel-sim-test-" + std::to_string(getpid()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
        options_.bookPath = (folder_ / "book.json").string();
        options_.listen = {{"127.0.0.1", 0}};
        options_.password = "4826";
        ASSERT_TRUE(StoredBook::save(options_.bookPath, kBook, nullptr));
        simulator_ = std::make_unique<PrinterSimulator>(options_, kBook);
        std::string error;
        ASSERT_TRUE(simulator_->bind(&error)) << error;
        simulator_->start();
        const std::string address = simulator_->addresses().front();
        client_ = std::make_unique<httplib::Client>(
            "127.0.0.1", std::stoi(address.substr(address.find(':') + 1)));
    }
    void TearDown() override {
        simulator_.reset();
        std::filesystem::remove_all(folder_);
    }

    // The request answered with credentials for a fresh challenge.
    httplib::Result authorized(const std::string& method, const std::string& path,
                               httplib::Headers headers = {}, const std::string& body = {}) {
        const auto challenge = DigestAuth::parseChallenge(
            client_->Get(kBookPath)->get_header_value("WWW-Authenticate"));
        headers.emplace("Authorization",
                        DigestAuth::formatCredentials(*challenge, method, path, "4826", 1, "cn"));
        httplib::Request request;
        request.method = method;
        request.path = path;
        request.headers = headers;
        request.body = body;
        if (!body.empty())
            request.set_header("Content-Type", "application/json");
        return client_->send(request);
    }
    std::string currentTag() { return authorized("GET", kBookPath)->get_header_value("ETag"); }

    std::filesystem::path folder_;
    SimulatorOptions options_;
    std::unique_ptr<PrinterSimulator> simulator_;
    std::unique_ptr<httplib::Client> client_;
};

TEST_F(PrinterSimulatorTest, AnswersUnknownPathsAndMethodsAsHttpSays) {
    EXPECT_EQ(client_->Get("/vextel/v1/other")->status, 404);
    const auto post = client_->Post("/vextel/v1/status", "{}", "application/json");
    EXPECT_EQ(post->status, 405);
    EXPECT_EQ(post->get_header_value("Allow"), "GET");
    EXPECT_EQ(client_->Delete(kBookPath)->get_header_value("Allow"), "GET, PUT");
    const auto status = client_->Get("/vextel/v1/status");
    EXPECT_EQ(status->status, 200);
    EXPECT_EQ(status->body, R"({"state": "ready"})");
}

TEST_F(PrinterSimulatorTest, ReplacesTheBookOnlyForAMatchingTagAndAValidBody) {
    const std::string tag = currentTag();
    DeviceBook changed = kBook;
    changed.individuals[0].name = "Ana B";
    struct Row {
        const char* what;
        std::string ifMatch; // "" sends no If-Match
        std::string body;
        int status;
    };
    const Row rows[] = {
        {"no If-Match", "", changed.toJson(), 428},
        {"another tag", "\"0123\"", changed.toJson(), 412},
        {"the weak form of the tag", "W/" + tag, changed.toJson(), 412},
        {"not a book", tag, R"({"individuals": [})", 400},
        {"a broken book", tag,
         R"({"individuals": [{"id": 1, "name": "", "faxNumber": "1"}], "groups": []})", 400},
        {"over 8 MiB", tag, std::string(9 * 1024 * 1024, ' '), 413},
    };
    for (const Row& row : rows) {
        httplib::Headers headers;
        if (!row.ifMatch.empty())
            headers.emplace("If-Match", row.ifMatch);
        const auto result = authorized("PUT", kBookPath, headers, row.body);
        ASSERT_TRUE(result) << row.what;
        EXPECT_EQ(result->status, row.status) << row.what;
    }
    EXPECT_EQ(currentTag(), tag) << "nothing changed";
    EXPECT_EQ(StoredBook::load(options_.bookPath, nullptr), kBook);

    const auto listed =
        authorized("PUT", kBookPath, {{"If-Match", "\"0123\", " + tag}}, changed.toJson());
    EXPECT_EQ(listed->status, 204);
    EXPECT_EQ(listed->get_header_value("ETag"), PrinterSimulator::etagOf(changed));
    EXPECT_EQ(StoredBook::load(options_.bookPath, nullptr), changed);
    EXPECT_EQ(authorized("PUT", kBookPath, {{"If-Match", "*"}}, kBook.toJson())->status, 204);
    EXPECT_EQ(currentTag(), PrinterSimulator::etagOf(kBook));
}

TEST_F(PrinterSimulatorTest, SavingKeepsTheFileModeAndLeavesNoTemporaryFile) {
    ASSERT_EQ(chmod(options_.bookPath.c_str(), 0600), 0);
    DeviceBook changed = kBook;
    changed.groups.clear();
    std::string error;
    ASSERT_TRUE(StoredBook::save(options_.bookPath, changed, &error)) << error;
    struct stat saved {};
    ASSERT_EQ(stat(options_.bookPath.c_str(), &saved), 0);
    EXPECT_EQ(saved.st_mode & 07777, 0600u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(StoredBook::load(options_.bookPath, &error), changed);
    EXPECT_FALSE(StoredBook::save((folder_ / "missing" / "book.json").string(), changed, &error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
    EXPECT_FALSE(StoredBook::load((folder_ / "missing.json").string(), &error));
    EXPECT_NE(error.find("missing.json"), std::string::npos) << error;
}

} // namespace

namespace {

TEST(StoredBookTest, AVCardBookIsServedWithTheNumbersThePrinterCanDialAndNeverRewritten) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("vextel-sim-vcard-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "Office.vcf").string();
    const std::string text = "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:urn:uuid:a\r\nFN:Ana Lima\r\n"
                             "TEL;TYPE=fax:03 (1234) 5678\r\nEND:VCARD\r\n"
                             "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:urn:uuid:b\r\nFN:Abroad\r\n"
                             "TEL;TYPE=fax:+44 20 7946 0000\r\nEND:VCARD\r\n"
                             "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:group\r\nFN:Team\r\n"
                             "MEMBER:urn:uuid:a\r\nMEMBER:urn:uuid:b\r\nEND:VCARD\r\n";
    std::ofstream(path, std::ios::binary) << text;

    std::string error;
    std::vector<std::string> warnings;
    const auto book = StoredBook::load(path, &error, &warnings);
    ASSERT_TRUE(book) << error;
    EXPECT_EQ(*book, (DeviceBook{{{1, "Ana Lima", "0312345678"}}, {{"Team", {1}}}}));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("entry 2 left out"), std::string::npos) << warnings[0];
    EXPECT_TRUE(StoredBook::isVCard(path));

    SimulatorOptions options;
    options.bookPath = path;
    options.listen = {{"127.0.0.1", 0}};
    PrinterSimulator simulator(options, *book);
    ASSERT_TRUE(simulator.bind(&error)) << error;
    simulator.start();
    const std::string address = simulator.addresses().front();
    xdirkit::DeviceClient client({"127.0.0.1", std::stoi(address.substr(address.find(':') + 1))});
    const auto read = client.readBook("0000");
    ASSERT_EQ(read.outcome, xdirkit::DeviceClient::Outcome::Ok);
    DeviceBook changed = *book;
    changed.groups.clear();
    EXPECT_EQ(client.writeBook(changed, read.etag, "0000").outcome,
              xdirkit::DeviceClient::Outcome::Ok);
    EXPECT_EQ(client.readBook("0000").book, changed) << "served from memory";
    std::ifstream file(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), text) << "file untouched";
    simulator.stop();
    std::filesystem::remove_all(folder);
}

} // namespace
