int sys_types;
