// Loading module files as the host does, and refusing those it cannot use.
#include <cstdio>
#include <fstream>

#include "e2e_support.h"

namespace {

std::string faultModule(const std::string& name) { return std::string(KELTO_FAULT_MODULES_DIR) + "/" + name + ".p"; }

std::string loadError(const std::string& path) {
    sim::LoadResult loaded = sim::LoadedModule::load(path);
    EXPECT_EQ(loaded.module, nullptr) << path;
    return loaded.error;
}

TEST(Loader, ReadsTheDescriptorAndServersOfKelto) {
    auto module = e2e::loadKelto();
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module->descriptor().syncWord, 0x04121994u);
    EXPECT_EQ(module->descriptor().systemVersion, 3u);
    EXPECT_EQ(module->descriptor().machineCode, 0x500u);  // Linux, the native build's
    ASSERT_EQ(module->servers().size(), 2u);
    EXPECT_EQ(module->servers()[0].className, "ChannelHandler");
    EXPECT_EQ(module->servers()[0].serverName, sim::kelto_facts::kServerName);
    EXPECT_EQ(module->servers()[1].className, "ChannelInterface");
    EXPECT_EQ(module->servers()[1].serverName, sim::kelto_facts::kServerName);
    EXPECT_EQ(module->findServer("ChannelHandler", "Other"), nullptr);
    EXPECT_EQ(module->findServer("ImageFilterHandler", sim::kelto_facts::kServerName), nullptr);
}

TEST(Loader, RefusesFilesItCannotUseWithOneLineReasons) {
    EXPECT_EQ(loadError("/nonexistent/kelto.p"), "no such module file: /nonexistent/kelto.p");
    EXPECT_EQ(loadError("/tmp"), "module file /tmp is a directory");
    EXPECT_EQ(loadError("/dev/zero"), "module file /dev/zero is not a regular file");

    std::string text = testing::TempDir() + "/not_a_module.p";
    std::ofstream(text) << "this is a text file\n";
    EXPECT_EQ(loadError(text).rfind("not a loadable module: " + text, 0), 0u);

    // Cut short inside its program headers, a module is refused before the
    // loader maps it (cut inside its segments: the kelto-host tests).
    std::ifstream whole(KELTO_MODULE_PATH, std::ios::binary);
    std::string head(100, '\0');
    whole.read(&head[0], static_cast<std::streamsize>(head.size()));
    std::string shortened = testing::TempDir() + "/cut.p";
    std::ofstream(shortened, std::ios::binary) << head;
    EXPECT_EQ(loadError(shortened).rfind("not a loadable module: " + shortened + " (cut short: its program headers", 0),
              0u);

    EXPECT_EQ(loadError(faultModule("fault_no_descriptor")),
              "no _mod_descrip in " + faultModule("fault_no_descriptor"));
    EXPECT_EQ(loadError(faultModule("fault_wrong_sync")),
              "wrong synchronisation word 0x19941204 in " + faultModule("fault_wrong_sync") + " (expected 0x04121994)");
    EXPECT_EQ(loadError(faultModule("fault_wrong_system_version")).rfind("unsupported plug-in system version 2", 0),
              0u);
    EXPECT_EQ(loadError(faultModule("fault_failing_startup")),
              "start-up failed in " + faultModule("fault_failing_startup"));
    EXPECT_EQ(loadError(faultModule("fault_unterminated_servers")).rfind("the server table has no end row", 0), 0u);
    // What the descriptor points to must lie within the module.
    EXPECT_EQ(loadError(faultModule("fault_stray_servers")),
              "server table row 1 does not lie within the module in " + faultModule("fault_stray_servers"));
    EXPECT_EQ(loadError(faultModule("fault_stray_name")),
              "server table row 1 names a class or server outside the module in " + faultModule("fault_stray_name"));
}

}  // namespace
