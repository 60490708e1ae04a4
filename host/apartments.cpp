#include "apartments.h"

#include <exception>
#include <thread>
#include <vector>

namespace standin {

nlohmann::ordered_json RunApartments(int count,
                                     const std::function<nlohmann::ordered_json(int)>& runOne) {
    std::vector<nlohmann::ordered_json> reports(count);
    std::vector<std::thread> threads;
    for (int index = 0; index < count; ++index)
        threads.emplace_back([&, index] {
            try {
                reports[index] = runOne(index);
            } catch (const std::exception& error) {
                reports[index] = {{"failure", error.what()}};
            } catch (...) {
                reports[index] = {{"failure", "unknown"}};
            }
        });
    for (std::thread& thread : threads) thread.join();
    return {{"apartments", reports}};
}

}  // namespace standin
