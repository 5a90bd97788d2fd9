// The service-control class against the real service manager of the test prefix.
#include "ServiceFixtures.h"
#include "TestSeam.h"
#include "TestUtil.h"
#include "system/ServiceControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

const std::wstring kName = L"CorvellTestSvc";
const std::wstring kDisplay = L"Corvell Test Service";

class ServiceControlTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ServiceFixtures::Remove(kName)); }
    void TearDown() override { ServiceFixtures::Remove(kName); }

    static bool InstallWithClass(const std::wstring& name, const std::wstring& display, long mode,
                                 std::wstring* outcome = nullptr) {
        UpcServiciosyWea svc;
        svc.ServiceName(name);
        const bool ok = svc.InstallService(ServiceFixtures::TestServicePath(), display, L"", mode);
        if (outcome) *outcome = svc.InstallRemoveServiceError();
        return ok;
    }

    // Name, display name and state of one service in a listing, or an empty vector.
    static std::vector<std::wstring> TripleOf(const std::vector<ServiceTriple>& list, const std::wstring& name) {
        for (const ServiceTriple& service : list)
            if (service.name == name) return {service.name, service.displayName, service.state};
        return {};
    }

    TestSeam seam;
};

TEST_F(ServiceControlTest, ListsEveryServiceAsTriplesWithMixedCaseStates) {
    ASSERT_TRUE(InstallWithClass(kName, kDisplay, 3));
    ASSERT_TRUE(ServiceFixtures::StartAndWait(kName));

    const auto list = UpcServiciosyWea().ListServices(L"");
    ASSERT_TRUE(list.has_value());
    EXPECT_GE(list->size(), 16u);  // a fresh prefix has 16 of its own
    const std::set<std::wstring> states = {L"Stopped",          L"Start Pending", L"Stop Pending", L"Running",
                                           L"Continue Pending", L"Pause Pending", L"Paused"};
    for (const ServiceTriple& service : *list) {
        EXPECT_FALSE(service.name.empty());
        EXPECT_TRUE(states.count(service.state)) << service.state;
    }
    EXPECT_EQ(TripleOf(*list, kName), (std::vector<std::wstring>{kName, kDisplay, L"Running"}));
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(ServiceControlTest, NamesLongerThanTheOldBufferAreListedWhole) {
    const std::wstring longName = L"CorvellLong" + std::wstring(244, L'n');     // 255 characters
    const std::wstring longDisplay = L"Corvell Long " + std::wstring(243, L'd');  // 256 characters
    ASSERT_TRUE(InstallWithClass(longName, longDisplay, 3));
    const auto list = UpcServiciosyWea().ListServices();
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(TripleOf(*list, longName), (std::vector<std::wstring>{longName, longDisplay, L"Stopped"}));
    EXPECT_TRUE(ServiceFixtures::Remove(longName));
}

TEST_F(ServiceControlTest, StartPauseContinueStopWithCapitalStatusTexts) {
    ASSERT_TRUE(InstallWithClass(kName, kDisplay, 3));
    UpcServiciosyWea svc;
    svc.ServiceName(kName);
    EXPECT_EQ(svc.ServiceName(), kName);
    EXPECT_EQ(svc.ServiceStatus(), L"STOPPED");
    EXPECT_FALSE(svc.Pause_Service(L""));  // not running

    ASSERT_TRUE(svc.Start_Service(L""));
    ASSERT_TRUE(ServiceFixtures::WaitForState(kName, SERVICE_RUNNING));
    EXPECT_EQ(svc.ServiceStatus(L""), L"RUNNING");
    EXPECT_FALSE(svc.Start_Service(L""));  // already running

    ASSERT_TRUE(svc.Pause_Service(L""));
    ASSERT_TRUE(ServiceFixtures::WaitForState(kName, SERVICE_PAUSED));
    EXPECT_EQ(svc.ServiceStatus(), L"PAUSED");
    EXPECT_EQ(TripleOf(*UpcServiciosyWea().ListServices(), kName)[2], L"Paused");

    ASSERT_TRUE(svc.Resume_Service(L""));
    ASSERT_TRUE(ServiceFixtures::WaitForState(kName, SERVICE_RUNNING));
    EXPECT_EQ(svc.ServiceStatus(), L"RUNNING");

    ASSERT_TRUE(svc.Stop_Service(L""));
    ASSERT_TRUE(ServiceFixtures::WaitForState(kName, SERVICE_STOPPED));
    EXPECT_EQ(svc.ServiceStatus(), L"STOPPED");
    EXPECT_FALSE(svc.Stop_Service(L""));  // already stopped
}

TEST_F(ServiceControlTest, SingleServiceMembersFailQuietlyWithoutAService) {
    UpcServiciosyWea blank;
    blank.ServiceName(L"   ");
    EXPECT_EQ(blank.ServiceStatus(), L"");
    UpcServiciosyWea missing;
    missing.ServiceName(L"CorvellNoSuchService");
    EXPECT_EQ(missing.ServiceStatus(), L"");
    EXPECT_FALSE(missing.Start_Service());
    EXPECT_FALSE(missing.Stop_Service());
    EXPECT_FALSE(missing.Pause_Service());
    EXPECT_FALSE(missing.Resume_Service());
    EXPECT_EQ(missing.InstallRemoveServiceError(), L"");
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(ServiceControlTest, RefusingServiceEndsStopped) {
    UpcServiciosyWea svc;
    svc.ServiceName(kName);
    ASSERT_TRUE(svc.InstallService(ServiceFixtures::TestServicePath(L"refuse"), kDisplay, L"", 3));
    svc.Start_Service();
    EXPECT_TRUE(ServiceFixtures::WaitForState(kName, SERVICE_STOPPED));
    Sleep(300);
    EXPECT_EQ(svc.ServiceStatus(), L"STOPPED");
}

TEST_F(ServiceControlTest, InstallReportsEachOutcome) {
    std::wstring outcome;
    ASSERT_TRUE(InstallWithClass(kName, kDisplay, 2, &outcome));
    EXPECT_EQ(outcome, L"Service installed sucessfully");
    EXPECT_EQ(ServiceFixtures::StartType(kName), static_cast<DWORD>(SERVICE_AUTO_START));

    struct Case {
        std::wstring name, display;
        long mode;
        std::wstring outcome;
    };
    const Case cases[] = {
        {kName, L"Another Display Name", 3, L"The specified service already exists in this database."},
        {L"CorvellOtherSvc", kDisplay, 3,
         L"The display name already exists in the service control manager database either as a service name or "
         L"as another display name."},
        {L"Corvell\\Bad", L"Corvell Bad", 3, L"The specified service name is invalid."},
        // 7 is no start type: the service is asked for with 0, which an own-process service cannot have.
        {L"CorvellBootSvc", L"Corvell Boot", 7, L"A parameter that was specified is invalid."},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(InstallWithClass(c.name, c.display, c.mode, &outcome)) << c.name.c_str();
        EXPECT_EQ(outcome, c.outcome) << c.name.c_str();
    }
    EXPECT_EQ(ServiceFixtures::State(L"CorvellOtherSvc"), 0u);
    EXPECT_EQ(ServiceFixtures::State(L"CorvellBootSvc"), 0u);
}

TEST_F(ServiceControlTest, RemoveDeletesAndReportsAMissingService) {
    ASSERT_TRUE(InstallWithClass(kName, kDisplay, 3));
    UpcServiciosyWea svc;
    svc.ServiceName(kName);
    EXPECT_TRUE(svc.RemoveService(L""));
    EXPECT_EQ(svc.InstallRemoveServiceError(), L"Service removed sucessfully");
    ASSERT_TRUE(ServiceFixtures::Remove(kName));  // waits until the manager has let it go
    EXPECT_EQ(ServiceFixtures::State(kName), 0u);

    UpcServiciosyWea missing;
    missing.ServiceName(L"CorvellNoSuchService");
    EXPECT_FALSE(missing.RemoveService(L""));
    EXPECT_EQ(missing.InstallRemoveServiceError(), L"Unknown error");  // 1060 has no text of its own
}

TEST_F(ServiceControlTest, OutcomeTextsOfTheCodesTheManagerGives) {
    // The codes that no install in the test prefix can provoke.
    const std::pair<DWORD, std::wstring> cases[] = {
        {5, L"The handle to the specified service control manager database does not have "
            L"SC_MANAGER_CREATE_SERVICE access."},
        {6, L"The handle to the specified service control manager database is invalid."},
        {52, L"The display name already exists in the service control manager database either as a service name "
             L"or as another display name."},
        {1057, L"The user account name specified in the lpServiceStartName parameter does not exist."},
        {1059, L"A circular service dependency was specified."},
        {0, L"Unknown error"},
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(UpcServiciosyWea::ErrorText(code), text) << code;
}

} // namespace
