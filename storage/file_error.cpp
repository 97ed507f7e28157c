#include "file_error.h"

#include <cerrno>

namespace sokoban {

std::string systemReason(int err) {
    switch (err) {
    case ENOENT:
        return "文件不存在";
    case EACCES:
        return "没有访问权限";
    case EPERM:
        return "不允许的操作";
    case ENOSPC:
        return "磁盘空间不足";
    case EDQUOT:
        return "超出磁盘配额";
    case EROFS:
        return "只读文件系统";
    case EISDIR:
        return "是一个文件夹";
    case ENOTDIR:
        return "路径中有一项不是文件夹";
    case EEXIST:
        return "文件已存在";
    case EIO:
        return "输入输出错误";
    case EFBIG:
        return "文件太大";
    case ENAMETOOLONG:
        return "文件名太长";
    case ELOOP:
        return "符号链接层数过多";
    case EMFILE:
    case ENFILE:
        return "打开的文件太多";
    case ENOMEM:
        return "内存不足";
    case EBUSY:
        return "设备或资源忙";
    case ETXTBSY:
        return "文件正被使用";
    case EXDEV:
        return "不能跨文件系统移动";
    case ENXIO:
        return "设备不存在";
    case ENODEV:
        return "没有这个设备";
    case EINVAL:
        return "无效的参数";
    case EBADF:
        return "无效的文件描述符";
    case EAGAIN:
        return "资源暂时不可用";
    case EINTR:
        return "操作被中断";
    case ESPIPE:
        return "无法定位";
    case ENOTEMPTY:
        return "文件夹不是空的";
    case ESTALE:
        return "网络文件已失效";
    case ETIMEDOUT:
        return "操作超时";
    default:
        return "系统错误（错误号 " + std::to_string(err) + "）";
    }
}

void throwSystemError(const std::filesystem::path& path, int err) {
    throw FileError(path, systemReason(err));
}

} // namespace sokoban
