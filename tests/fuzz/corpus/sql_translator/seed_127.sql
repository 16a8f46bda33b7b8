CREATE TABLE [SystemSetting] (
    [Key] String(50) PRIMARY KEY,
    [Value] String(50)
);