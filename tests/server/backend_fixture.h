// Shared by the tests that run against both storage backends: the sample
// market as an SQLite reference file, and a PostgreSQL cluster of the test
// program's own with the same sample loaded by orbe-dataserver --make-sample.
#ifndef ORBE_TESTS_SERVER_BACKEND_FIXTURE_H_
#define ORBE_TESTS_SERVER_BACKEND_FIXTURE_H_

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "pg_connection.h"
#include "sample/sample_market.h"
#include "server_fixture.h"
#include "storage.h"
#include "support/pg_cluster.h"

namespace orbe::testing {

enum class Backend { kSqlite, kPostgres };

std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::kSqlite ? "SQLite" : "PostgreSQL";
}

// What every case shares: the reference sample, and the cluster with the
// same sample loaded by the server's own --make-sample (COPY).
class Shared {
 public:
  static Shared& Get() {
    static Shared shared;
    return shared;
  }
  const std::string& Reference() const { return reference_; }
  const std::string& Problem() const { return problem_; }
  orbe_test::PgCluster* Cluster() {
    if (!cluster_) {
      cluster_ = std::make_unique<orbe_test::PgCluster>();
      if (cluster_->Ready()) LoadPostgresSample();
    }
    return cluster_->Ready() && problem_.empty() ? cluster_.get() : nullptr;
  }
  // Runs an administrative statement in the cluster's "postgres" database.
  bool Administer(const std::string& sql, std::string* error) {
    auto admin = server::ConnectTo({"", cluster_->Uri("postgres")}, error);
    if (!admin) return false;
    if (static_cast<server::PgConnection&>(*admin).Run(sql)) return true;
    *error = admin->LastError();
    return false;
  }
  std::string ClusterProblem() const { return cluster_ ? cluster_->Problem() + problem_ : problem_; }
  // A database of its own for one case, copied from the loaded sample.
  std::string NewDatabase() {
    const std::string name = "case" + std::to_string(++databases_);
    std::string error;
    EXPECT_TRUE(Administer("CREATE DATABASE " + name + " TEMPLATE sample", &error)) << error;
    return cluster_->Uri(name);
  }
  // A store of its own for one case: a copy of the reference file in `dir`,
  // or a new database. Empty with a test failure when there is none.
  server::StorageLocation NewStore(Backend backend, const std::string& dir) {
    server::StorageLocation location;
    if (!problem_.empty()) {
      ADD_FAILURE() << problem_;
    } else if (backend == Backend::kSqlite) {
      location.sqlite_path = dir + "/market.db";
      std::filesystem::copy_file(reference_, location.sqlite_path);
    } else if (Cluster() == nullptr) {
      ADD_FAILURE() << ClusterProblem();
    } else {
      location.pg_uri = NewDatabase();
    }
    return location;
  }
  // The options that serve `location` from orbe-dataserver.
  static std::vector<std::string> StoreOptions(const server::StorageLocation& location) {
    if (location.IsPostgres()) return {"--pg", location.pg_uri};
    return {"--db", location.sqlite_path};
  }
  ~Shared() {
    cluster_.reset();
    std::filesystem::remove_all(dir_);
  }

 private:
  Shared() {
    dir_ = TestDirectory("backends");
    reference_ = dir_ + "/reference.db";
    std::string error;
    if (!sample::MakeSampleMarket(reference_, kScale, &error)) problem_ = error;
  }
  void LoadPostgresSample() {
    std::string error;
    if (!Administer("CREATE DATABASE sample", &error)) {
      problem_ = "cannot create the sample database: " + error;
      return;
    }
    const std::string command = std::string(ORBE_TEST_BIN_DIR) + "/orbe-dataserver --make-sample " +
                                cluster_->Uri("sample") + " --scale " + std::to_string(kScale);
    if (std::system(command.c_str()) != 0) problem_ = "orbe-dataserver --make-sample into PostgreSQL failed";
  }

  static constexpr double kScale = 0.01;  // small: CI runs every case twice
  std::string dir_;
  std::string reference_;
  std::string problem_;
  std::unique_ptr<orbe_test::PgCluster> cluster_;
  int databases_ = 0;
};

}  // namespace orbe::testing

#endif  // ORBE_TESTS_SERVER_BACKEND_FIXTURE_H_
