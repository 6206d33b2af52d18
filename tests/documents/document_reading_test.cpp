// The Linux document-reading service: requests are read on a worker
// thread, in order, and each answer comes back exactly once.

#include "platform/linux/document_reading.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <thread>
#include <vector>

namespace cw {
namespace {

namespace fs = std::filesystem;

struct Folder {
    Folder()
        : path(fs::path(testing::TempDir()) / ("cw_reading_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name())))
    {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~Folder() { fs::remove_all(path); }
    std::string write(std::string const& name, std::string const& bytes) const
    {
        std::ofstream(path / name, std::ios::binary) << bytes;
        return (path / name).string();
    }
    fs::path path;
};

TEST(DocumentReading, AnswersEachRequestInOrderOffTheCallingThread)
{
    Folder folder;
    auto first = folder.write("a.txt", "First");
    auto second = folder.write("b.rtf", "{\\rtf1 Second\\par}");
    auto broken = folder.write("c.docx", "PK\x03\x04 not really");

    struct Answer {
        std::string path;
        ExtractedText text;
        std::thread::id thread;
    };
    std::mutex mutex;
    std::vector<Answer> answers;
    std::promise<void> all_done;
    ThreadedTextExtraction reading;
    for (auto const& path : { first, second, broken }) {
        reading.extract(path, [&, path](ExtractedText text) {
            std::lock_guard lock(mutex);
            answers.push_back({ path, std::move(text), std::this_thread::get_id() });
            if (answers.size() == 3)
                all_done.set_value();
        });
    }
    ASSERT_EQ(all_done.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready);

    std::lock_guard lock(mutex);
    ASSERT_EQ(answers.size(), 3u);
    EXPECT_EQ(answers[0].path, first);
    EXPECT_EQ(answers[0].text.text, "First");
    EXPECT_EQ(answers[1].text.text, "Second\n");
    EXPECT_FALSE(answers[2].text.ok);
    EXPECT_FALSE(answers[2].text.error.empty());
    for (auto const& answer : answers)
        EXPECT_NE(answer.thread, std::this_thread::get_id());
}

TEST(DocumentReading, ClosingWithRequestsWaitingNeitherHangsNorCrashes)
{
    Folder folder;
    auto path = folder.write("a.txt", "words");
    std::atomic<int> answered { 0 };
    {
        ThreadedTextExtraction reading;
        for (int i = 0; i < 50; ++i)
            reading.extract(path, [&](ExtractedText) { ++answered; });
    }
    EXPECT_LE(answered.load(), 50);
}

}
}
