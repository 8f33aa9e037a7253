// Read-only answers about the operating system, the processor and the user's environment. Everything is
// read once when the object is made; there is nothing to set (a calculator has no business renaming the
// computer or changing the screen saver).
#pragma once

#include <QStandardPaths>
#include <QString>

namespace velaron::ui {

class SystemInfo {
 public:
  SystemInfo();

  // Operating system.
  QString OSVersion() const;                            // e.g. "Debian GNU/Linux 12 (bookworm) (linux 6.1.0-18-amd64)"
  QString ProductType() const { return productType_; }  // e.g. "debian"
  QString ProductVersion() const { return productVersion_; }  // e.g. "12"
  QString KernelType() const { return kernelType_; }          // e.g. "linux"
  QString KernelVersion() const { return kernelRelease_; }    // e.g. "6.1.0-18-amd64"
  QString OSExtraInfo() const { return kernelBuild_; }        // the kernel's build text
  int OSMajorVersion() const { return major_; }               // kernel release numbers
  int OSMinorVersion() const { return minor_; }
  int OSBuild() const { return patch_; }

  // Processor.
  QString ProcessorArchitecture() const { return cpuArchitecture_; }  // e.g. "x86_64"
  QString MachineType() const { return machine_; }                    // uname's machine field
  long NumberOfProcessors() const { return processors_; }
  long PageSize() const { return pageSize_; }
  long long PhysicalMemory() const { return physicalMemory_; }  // bytes, 0 when unknown

  // Environment.
  QString ComputerName() const { return hostName_; }
  QString UserName() const { return userName_; }
  QString TempPath() const;
  QString HomeDirectory() const;
  bool IsDBCS() const { return multiByte_; }  // characters may take more than one byte
  QString SpecialFolderLocation(QStandardPaths::StandardLocation location) const;

 private:
  QString productType_, productVersion_, prettyName_, kernelType_, kernelRelease_, kernelBuild_;
  int major_ = 0, minor_ = 0, patch_ = 0;
  QString cpuArchitecture_, machine_;
  long processors_ = 0, pageSize_ = 0;
  long long physicalMemory_ = 0;
  QString hostName_, userName_;
  bool multiByte_ = false;
};

}  // namespace velaron::ui
