#include "tests/sim/boot_loader.h"

#include <chrono>

namespace x740sim {

namespace {

std::int64_t steadyUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

const char kReplyPhrase[] = "BRIDGE IS AVAILABLE!";

bool takesPhrase(BootPrompt prompt)
{
    return prompt == BootPrompt::Dong || prompt == BootPrompt::AtDong;
}

std::vector<std::uint8_t> infoRecord(const char* name, const char* date, const char* version)
{
    std::vector<std::uint8_t> record;
    for (const char* text : {name, date, version}) {
        const std::string t = text;
        record.insert(record.end(), t.begin(), t.end());
        record.push_back(0);
    }
    return record;
}

} // namespace

bool parseBootPrompt(const std::string& name, BootPrompt& prompt)
{
    static const std::pair<const char*, BootPrompt> names[] = {
        {"dong", BootPrompt::Dong},       {"mode", BootPrompt::Mode},
        {"at-dong", BootPrompt::AtDong},  {"at-mode", BootPrompt::AtMode},
        {"silent", BootPrompt::Silence},  {"garbage", BootPrompt::Garbage},
    };
    for (const auto& [text, value] : names) {
        if (name == text) {
            prompt = value;
            return true;
        }
    }
    return false;
}

bool applyFirmware(Station& station, const std::string& version, BootPrompt* prompt)
{
    BootPrompt kind = BootPrompt::Dong;
    if (version == "1.02")
        station.setModuleInfo(infoRecord("X740 FIRMWARE", "14.03.2003", "1.02"));
    else if (version == "1.05")
        station.setModuleInfo(infoRecord("X740 FIRMWARE", "22.09.2003", "1.05"));
    else if (version == "2.1") {
        station.setModuleInfo(infoRecord("X740 FIRMWARE", "05.07.2005", "2.1"));
        kind = BootPrompt::Mode;
    } else
        return false;
    if (prompt)
        *prompt = kind;
    return true;
}

void BootLoader::setSettings(const BootSettings& settings)
{
    std::lock_guard lock(mutex_);
    settings_ = settings;
}

BootSettings BootLoader::settings() const
{
    std::lock_guard lock(mutex_);
    return settings_;
}

void BootLoader::powerOn()
{
    std::function<void()> wake;
    {
        std::lock_guard lock(mutex_);
        pendingPowerOn_ = true;
        wake = wake_;
    }
    if (wake)
        wake();
}

void BootLoader::setOnReset(std::function<void()> dropLinks)
{
    std::lock_guard lock(mutex_);
    dropLinks_ = std::move(dropLinks);
}

void BootLoader::setWake(std::function<void()> wake)
{
    std::lock_guard lock(mutex_);
    wake_ = std::move(wake);
}

void BootLoader::dropLinks()
{
    std::function<void()> drop;
    {
        std::lock_guard lock(mutex_);
        drop = dropLinks_;
    }
    if (drop)
        drop();
}

bool BootLoader::inWindow() const
{
    std::lock_guard lock(mutex_);
    return window_ || pendingPowerOn_;
}

std::vector<std::string> BootLoader::commands() const
{
    std::lock_guard lock(mutex_);
    return commands_;
}

int BootLoader::powerOns() const
{
    std::lock_guard lock(mutex_);
    return powerOns_;
}

int BootLoader::promptsSent() const
{
    std::lock_guard lock(mutex_);
    return prompts_;
}

std::size_t BootLoader::bytesFed() const
{
    std::lock_guard lock(mutex_);
    return bytesFed_;
}

std::vector<std::int64_t> BootLoader::answerLatenciesUs() const
{
    std::lock_guard lock(mutex_);
    return latenciesUs_;
}

bool BootLoader::busy() const
{
    std::lock_guard lock(mutex_);
    return pendingPowerOn_ || !command_.empty();
}

std::string BootLoader::promptBytes() const
{
    switch (settings_.prompt) {
    case BootPrompt::Dong:
        return "DONG";
    case BootPrompt::Mode:
        return "MODE";
    case BootPrompt::AtDong:
        return "AT\r\nDONG";
    case BootPrompt::AtMode:
        return "AT\r\nMODE";
    case BootPrompt::Garbage:
        return "\x15\xAA#x";
    case BootPrompt::Silence:
        break;
    }
    return {};
}

void BootLoader::finishCommand(std::int64_t, Tick& tick)
{
    commands_.push_back(command_);
    const bool accepted = takesPhrase(settings_.prompt) ? command_ == kReplyPhrase
                                                        : command_.rfind("MODE ", 0) == 0;
    command_.clear();
    if (accepted) {
        window_ = false;
        tick.firmwareStarted = true;
    }
}

BootLoader::Tick BootLoader::tick(std::int64_t nowMs, bool at9600,
                                  const std::function<void(const std::string&)>& write)
{
    Tick result;
    std::string prompt;
    {
        std::lock_guard lock(mutex_);
        if (pendingPowerOn_) {
            pendingPowerOn_ = false;
            window_ = true;
            windowEnd_ = nowMs + settings_.windowMs;
            nextPrompt_ = nowMs;
            command_.clear();
            prompts_ = 0;
            lastPromptUs_ = -1;
            ++powerOns_;
            result.poweredOn = true;
        }
        if (!window_)
            return result;
        if (!command_.empty() && nowMs - lastByte_ >= settings_.quietGapMs)
            finishCommand(nowMs, result);
        if (window_ && command_.empty() && nowMs >= windowEnd_) {
            window_ = false;
            result.firmwareStarted = true;
        }
        if (window_ && command_.empty() && nowMs >= nextPrompt_) {
            nextPrompt_ = nowMs + settings_.promptIntervalMs;
            if (at9600)
                prompt = promptBytes();
            if (!prompt.empty())
                ++prompts_;
        }
    }
    if (!prompt.empty()) {
        write(prompt);
        std::lock_guard lock(mutex_);
        lastPromptUs_ = steadyUs();
    }
    return result;
}

void BootLoader::feed(const std::uint8_t* bytes, std::size_t n, std::int64_t nowMs, bool at9600)
{
    std::lock_guard lock(mutex_);
    if (!window_ || !at9600)
        return; // the boot loader listens at 9600 only
    if (command_.empty() && lastPromptUs_ >= 0)
        latenciesUs_.push_back(steadyUs() - lastPromptUs_);
    command_.append(reinterpret_cast<const char*>(bytes), n);
    bytesFed_ += n;
    lastByte_ = nowMs;
}

int BootLoader::msUntilNext(std::int64_t nowMs) const
{
    std::lock_guard lock(mutex_);
    if (pendingPowerOn_)
        return 0;
    if (!window_)
        return -1;
    std::int64_t next = windowEnd_;
    if (!command_.empty())
        next = lastByte_ + settings_.quietGapMs;
    else if (nextPrompt_ < next)
        next = nextPrompt_;
    const std::int64_t wait = next - nowMs;
    return wait < 0 ? 0 : static_cast<int>(wait);
}

} // namespace x740sim
