#pragma once

#include "host/dispatch.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace kastrel::bench {

// A lean in-process host: features on a circle, no logging, so a benchmark
// measures the engine and not the stand-in.
class BenchPoint : public host::Dispatch {
public:
    BenchPoint(double x, double y, double z) : x_(x), y_(y), z_(z) {}
    host::Variant get(std::string_view member) override {
        return member == "X" ? x_ : member == "Y" ? y_ : z_;
    }
    host::Variant call(std::string_view, std::span<host::Argument>) override { return {}; }
    std::unique_ptr<host::Enumerator> enumerate() override { return nullptr; }

private:
    double x_, y_, z_;
};

class BenchFeature : public host::Dispatch {
public:
    BenchFeature(std::string id, int hits) : id_(std::move(id)), hits_(hits) {
        for (int j = 1; j <= hits; ++j) {
            const double angle = (j - 1) * 6.283185307179586 / hits;
            actual_.push_back(std::make_shared<BenchPoint>(25.0012 * std::cos(angle),
                                                           25.0012 * std::sin(angle), -5.0));
            nominal_.push_back(
                std::make_shared<BenchPoint>(25.0 * std::cos(angle), 25.0 * std::sin(angle), -5.0));
        }
    }
    host::Variant get(std::string_view member) override {
        if (member == "ID")
            return id_;
        if (member == "TheoDiam")
            return 50.0;
        if (member == "NumHits")
            return static_cast<std::int32_t>(hits_);
        if (member == "FeatureCommand")
            return host::Object(self_.lock());
        return true; // IsFeature
    }
    host::Variant call(std::string_view, std::span<host::Argument> args) override {
        const auto j = static_cast<std::size_t>(std::get<double>(args[0].value.raw())) - 1;
        return std::get<std::int32_t>(args[2].value.raw()) == 3 ? actual_[j] : nominal_[j];
    }
    std::unique_ptr<host::Enumerator> enumerate() override { return nullptr; }
    void set_self(const std::shared_ptr<BenchFeature>& self) { self_ = self; }

private:
    std::string id_;
    int hits_;
    // The host's stored points, handed out without work of its own.
    std::vector<host::Object> actual_, nominal_;
    std::weak_ptr<BenchFeature> self_;
};

// The commands collection; each command is its own feature object here.
class BenchCommands : public host::Dispatch {
public:
    BenchCommands(int features, int hits) {
        for (int f = 0; f < features; ++f) {
            auto feature = std::make_shared<BenchFeature>("KRS" + std::to_string(f), hits);
            feature->set_self(feature);
            features_.push_back(feature);
        }
    }
    host::Variant get(std::string_view) override { return {}; }
    host::Variant call(std::string_view, std::span<host::Argument>) override { return {}; }
    std::unique_ptr<host::Enumerator> enumerate() override {
        struct Walk : host::Enumerator {
            const std::vector<host::Object>* items;
            std::size_t next_index = 0;
            std::optional<host::Variant> next() override {
                if (next_index >= items->size())
                    return std::nullopt;
                return host::Variant((*items)[next_index++]);
            }
        };
        auto walk = std::make_unique<Walk>();
        walk->items = &features_;
        return walk;
    }
    std::size_t size() const { return features_.size(); }

private:
    std::vector<host::Object> features_;
};

} // namespace kastrel::bench
